#include "browser/url_origin.h"

#include "support/ascii_text.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace kv {
namespace {

int defaultPort(std::string_view scheme)
{
    if (scheme == "http" || scheme == "ws")
        return 80;
    if (scheme == "https" || scheme == "wss")
        return 443;
    if (scheme == "ftp")
        return 21;
    return 0;
}

} // namespace

std::optional<UrlOrigin> OriginOf(std::string_view url)
{
    const auto schemeEnd = url.find("://");
    if (schemeEnd == std::string_view::npos || schemeEnd == 0)
        return std::nullopt;
    UrlOrigin origin;
    origin.scheme = LowerCaseAscii(url.substr(0, schemeEnd));
    if (!std::all_of(origin.scheme.begin(), origin.scheme.end(),
                     [](unsigned char c) { return std::isalnum(c) || c == '+' || c == '-' || c == '.'; }))
        return std::nullopt;

    std::string_view authority = url.substr(schemeEnd + 3);
    authority = authority.substr(0, authority.find_first_of("/?#"));
    if (const auto at = authority.rfind('@'); at != std::string_view::npos)
        authority.remove_prefix(at + 1);

    std::string_view host = authority;
    std::string_view port;
    if (authority.starts_with('[')) {
        const auto close = authority.find(']');
        if (close == std::string_view::npos)
            return std::nullopt;
        host = authority.substr(0, close + 1);
        const std::string_view rest = authority.substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':')
                return std::nullopt;
            port = rest.substr(1);
        }
    } else if (const auto colon = authority.rfind(':'); colon != std::string_view::npos) {
        host = authority.substr(0, colon);
        port = authority.substr(colon + 1);
    }
    if (host.empty())
        return std::nullopt;
    origin.host = LowerCaseAscii(host);

    origin.port = defaultPort(origin.scheme);
    if (!port.empty()) {
        int value = 0;
        const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), value);
        if (error != std::errc() || end != port.data() + port.size() || value < 0 || value > 65535)
            return std::nullopt;
        origin.port = value;
    }
    return origin;
}

bool SameOrigin(std::string_view a, std::string_view b)
{
    const auto first = OriginOf(a);
    const auto second = OriginOf(b);
    return first && second && *first == *second;
}

} // namespace kv
