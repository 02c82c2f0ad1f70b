#pragma once
// Small text rules shared by the registry class and its file format.
#include <string>
#include <string_view>

namespace kv {

// Leading and trailing blanks (spaces only) removed.
std::string TrimBlanks(std::string_view text);

// ASCII letters upper-cased; other bytes kept.
std::string UpperCaseAscii(std::string_view text);

} // namespace kv
