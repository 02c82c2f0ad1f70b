#include "update/crack_url.h"

#include <string_view>

namespace kv {

void CrackURL(std::string& url, std::string& path)
{
    constexpr std::string_view kPrefix = "http://";
    if (url.starts_with(kPrefix))
        url.erase(0, kPrefix.size());
    const auto slash = url.find('/');
    if (slash == std::string::npos)
        return;
    path = url.substr(slash);
    url.erase(slash);
}

} // namespace kv
