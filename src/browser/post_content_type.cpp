#include "browser/post_content_type.h"

#include <algorithm>

namespace kv {

bool IsSafeContentType(std::string_view type)
{
    constexpr std::size_t kLongest = 256;
    return !type.empty() && type.size() <= kLongest &&
           std::all_of(type.begin(), type.end(), [](char c) { return c >= 0x20 && c < 0x7f; });
}

std::string ContentTypeHeader(std::string_view type)
{
    if (!IsSafeContentType(type))
        return {};
    return "Content-Type: " + std::string(type) + "\r\n";
}

} // namespace kv
