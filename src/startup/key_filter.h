#pragma once
#include <string_view>

namespace kv {

inline constexpr int kBackspaceKey = 8;

// The key filter of name boxes: the typed character when allowed (compared without
// regard to case), backspace when allowBackspace, else 0, on which the form beeps
// and drops the key.
int FilterKeyPress(int keyAscii, std::string_view allowed, bool allowBackspace);

} // namespace kv
