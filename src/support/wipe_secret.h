#pragma once
// Decrypted values and typed passwords are overwritten before their memory is given back.
#include <string>

namespace kv {

// Zeroes every byte (the compiler may not leave it out), then empties the string.
void WipeSecret(std::string& secret);

} // namespace kv
