#include "storage/secure_random.h"

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

} // namespace kv
