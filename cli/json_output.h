#pragma once
// Machine-readable output: keys in a fixed order, one document per run, two-space indent.
// The shapes are part of each command's --help and stay stable.
#include <nlohmann/json.hpp>

namespace kv::cli {

using JsonOutput = nlohmann::ordered_json;

// Writes the document and a line end to standard output; names that are not valid UTF-8
// have the bad bytes replaced instead of failing the output.
void PrintJson(const JsonOutput& document);

} // namespace kv::cli
