#pragma once
// UTF-8 checks for text that comes from outside.
#include <string_view>

namespace kv {

// Well-formed UTF-8: no stray continuation bytes, no overlong forms, no surrogates,
// nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text);

} // namespace kv
