#pragma once
// The address a cookie belongs to, as a cookie entry names it: its scheme, its host without
// the leading dot of a domain cookie, and its path.
#include <string>
#include <string_view>

namespace kv {

inline std::string CookieAddress(std::string_view domain, std::string_view path, bool secure)
{
    if (!domain.empty() && domain.front() == '.')
        domain.remove_prefix(1);
    std::string address = secure ? "https://" : "http://";
    address += domain;
    address += path.empty() ? std::string_view("/") : path;
    return address;
}

} // namespace kv
