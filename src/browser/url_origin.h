#pragma once
// The origin (scheme, host, port) of a web address: what decides whether a page may
// receive a saved password.
#include <optional>
#include <string>
#include <string_view>

namespace kv {

struct UrlOrigin {
    std::string scheme; // lower case
    std::string host;   // lower case, IPv6 addresses with their brackets
    int port = 0;       // the scheme's default port when none is written
    bool operator==(const UrlOrigin&) const = default;
};

// nullopt for addresses without an authority part (about:, data:, javascript:, ...) or that
// cannot be parsed; such addresses have no origin that a saved site could share.
std::optional<UrlOrigin> OriginOf(std::string_view url);

bool SameOrigin(std::string_view a, std::string_view b);

} // namespace kv
