#pragma once
// Whether a request body a page's script sent holds a value the user typed, as the common
// encodings write it: plain, JSON string, or form encoding.
#include <string_view>

namespace kv {

// False for an empty value.
bool BodyCarries(std::string_view body, std::string_view value);

} // namespace kv
