#include "startup/constant_time_equal.h"

#include <algorithm>

namespace kv {

bool ConstantTimeEqual(std::string_view a, std::string_view b)
{
    volatile unsigned char difference = a.size() == b.size() ? 0 : 1;
    const std::size_t length = std::max(a.size(), b.size());
    for (std::size_t i = 0; i < length; ++i) {
        const unsigned char x = i < a.size() ? static_cast<unsigned char>(a[i]) : 0;
        const unsigned char y = i < b.size() ? static_cast<unsigned char>(b[i]) : 0;
        difference = difference | (x ^ y);
    }
    return difference == 0;
}

} // namespace kv
