#include "storage/secure_random.h"

#include <algorithm>
#include <cassert>
#include <cerrno>
#include <sys/random.h>
#include <system_error>

namespace kv {

void FillSecureRandom(std::span<unsigned char> buffer)
{
    std::size_t filled = 0;
    while (filled < buffer.size()) {
        const ssize_t got = getrandom(buffer.data() + filled, buffer.size() - filled, 0);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            // Only a kernel without getrandom gets here; no weaker source is worth using.
            throw std::system_error(errno, std::generic_category(), "getrandom");
        }
        filled += static_cast<std::size_t>(got);
    }
}

UniformDraw::~UniformDraw()
{
    // What was drawn may have become part of a secret.
    std::fill(std::begin(block_), std::end(block_), 0);
}

std::size_t UniformDraw::below(std::size_t bound)
{
    assert(bound > 0 && bound <= 256);
    const std::size_t limit = 256 / bound * bound;
    for (;;) {
        if (used_ == sizeof block_) {
            random_(block_);
            used_ = 0;
        }
        const std::size_t byte = block_[used_];
        block_[used_++] = 0;
        if (byte < limit)
            return byte % bound;
    }
}

} // namespace kv
