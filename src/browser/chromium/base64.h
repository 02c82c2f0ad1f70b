#pragma once
// Standard base64 (RFC 4648, with padding): the protocol carries request bodies this way.
#include <optional>
#include <string>
#include <string_view>

namespace kv {

std::string Base64Encode(std::string_view bytes);
// nullopt when the text is not valid base64.
std::optional<std::string> Base64Decode(std::string_view text);

} // namespace kv
