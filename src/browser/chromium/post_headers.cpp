#include "browser/chromium/post_headers.h"

#include "support/ascii_text.h"

#include <algorithm>
#include <cctype>
#include <nlohmann/json.hpp>
#include <string_view>

namespace kv {

namespace {

bool Dropped(std::string_view name)
{
    return EqualsIgnoringCase(name, "cookie") || EqualsIgnoringCase(name, "content-length");
}

} // namespace

nlohmann::json PostHeaders(const nlohmann::json& original, const std::string& extra)
{
    nlohmann::json headers = nlohmann::json::array();
    if (original.is_object())
        for (const auto& [name, value] : original.items())
            if (value.is_string() && !Dropped(name) && !EqualsIgnoringCase(name, "content-type"))
                headers.push_back({{"name", name}, {"value", value}});
    bool typed = false;
    std::size_t start = 0;
    while (start < extra.size()) {
        std::size_t end = extra.find('\n', start);
        if (end == std::string::npos)
            end = extra.size();
        std::string line = extra.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const auto colon = line.find(':');
        if (colon == std::string::npos || colon == 0)
            continue;
        const std::string name = line.substr(0, colon);
        std::string value = line.substr(colon + 1);
        value.erase(0, value.find_first_not_of(" \t"));
        if (Dropped(name))
            continue;
        typed = typed || EqualsIgnoringCase(name, "content-type");
        headers.push_back({{"name", name}, {"value", value}});
    }
    if (!typed)
        headers.push_back({{"name", "Content-Type"}, {"value", "application/x-www-form-urlencoded"}});
    return headers;
}

} // namespace kv
