#pragma once
// Random bytes from the operating system's CSPRNG.
#include <cstddef>
#include <functional>
#include <span>

namespace kv {

// Fills the whole buffer; blocks only until the kernel's pool is initialised.
void FillSecureRandom(std::span<unsigned char> buffer);

// Where randomness comes from: FillSecureRandom outside tests.
using RandomFill = std::function<void(std::span<unsigned char>)>;

// Uniform whole numbers below a bound of at most 256, without modulo bias: a byte above
// the largest multiple of the bound is drawn again. Bytes are fetched in blocks.
class UniformDraw {
public:
    explicit UniformDraw(RandomFill random) : random_(std::move(random)) {}
    ~UniformDraw();
    UniformDraw(const UniformDraw&) = delete;
    UniformDraw& operator=(const UniformDraw&) = delete;

    std::size_t below(std::size_t bound);

private:
    RandomFill random_;
    unsigned char block_[64] = {};
    std::size_t used_ = sizeof block_;
};

} // namespace kv
