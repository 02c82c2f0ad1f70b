#include "browser/url_resolve.h"

#include <algorithm>
#include <cctype>

namespace kv {
namespace {

bool hasScheme(std::string_view reference)
{
    const auto colon = reference.find(':');
    if (colon == std::string_view::npos || colon == 0 ||
        !std::isalpha(static_cast<unsigned char>(reference[0])))
        return false;
    return std::all_of(reference.begin(), reference.begin() + static_cast<std::ptrdiff_t>(colon),
                       [](unsigned char c) { return std::isalnum(c) || c == '+' || c == '-' || c == '.'; });
}

} // namespace

std::string ResolveAgainst(std::string_view base, std::string_view reference)
{
    if (hasScheme(reference))
        return std::string(reference);
    const std::string_view withoutFragment = base.substr(0, base.find('#'));
    if (reference.empty())
        return std::string(withoutFragment);

    const auto schemeEnd = base.find("://");
    if (schemeEnd == std::string_view::npos)
        return std::string(reference);
    if (reference.starts_with("//"))
        return std::string(base.substr(0, schemeEnd + 1)) + std::string(reference);

    const auto pathStart = base.find_first_of("/?#", schemeEnd + 3);
    const std::string_view authority = base.substr(0, pathStart);
    if (reference.starts_with('/'))
        return std::string(authority) + std::string(reference);

    const std::string_view withoutQuery = withoutFragment.substr(0, withoutFragment.find('?'));
    if (reference.starts_with('?'))
        return std::string(withoutQuery) + std::string(reference);
    if (reference.starts_with('#'))
        return std::string(withoutFragment) + std::string(reference);

    // Relative to the page's folder: everything up to the last "/" of its path.
    const auto lastSlash = withoutQuery.rfind('/');
    if (pathStart == std::string_view::npos || lastSlash == std::string_view::npos ||
        lastSlash < schemeEnd + 3)
        return std::string(authority) + "/" + std::string(reference);
    return std::string(withoutQuery.substr(0, lastSlash + 1)) + std::string(reference);
}

} // namespace kv
