#pragma once
#include <string_view>

namespace kv {

// Equality whose running time depends on the lengths only, never on where the texts
// first differ, so a typed password cannot be found byte by byte from response times.
bool ConstantTimeEqual(std::string_view a, std::string_view b);

} // namespace kv
