#pragma once
// A broken invariant must stop the fuzzer loudly, in release builds too.
#include <cstdlib>

namespace kv::fuzz {

inline void Require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace kv::fuzz
