#pragma once
// Random bytes from the operating system's CSPRNG.
#include <span>

namespace kv {

// Fills the whole buffer; blocks only until the kernel's pool is initialised.
void FillSecureRandom(std::span<unsigned char> buffer);

} // namespace kv
