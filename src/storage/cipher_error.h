#pragma once
#include <cstdint>
#include <string>

namespace kv {

// A stored value that cannot be turned back into text: wrong key material,
// damaged hex text or envelope. Carries the cipher's error number and text.
struct CipherError {
    std::int32_t number = 0;
    std::string description;
};

} // namespace kv
