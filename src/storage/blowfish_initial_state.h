#pragma once
// The tables every Blowfish key schedule starts from.
#include <array>
#include <cstdint>

namespace kv {

struct BlowfishState {
    std::array<std::uint32_t, 18> P;
    std::array<std::array<std::uint32_t, 256>, 4> S;
};

extern const BlowfishState kBlowfishInitialState;

} // namespace kv
