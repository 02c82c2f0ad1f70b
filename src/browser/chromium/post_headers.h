#pragma once
// The request headers of a post the program sends itself in place of a navigation's request.
#include <nlohmann/json_fwd.hpp>
#include <string>

namespace kv {

// original: the paused request's headers (a JSON object). extra: "Name: value" lines
// separated by CRLF or LF. The result is the protocol's header list: the original headers
// without cookie (the browser refuses it and adds its cookies itself), length and type, then
// the extra lines, then "application/x-www-form-urlencoded" as the type when none was given.
nlohmann::json PostHeaders(const nlohmann::json& original, const std::string& extra);

} // namespace kv
