#pragma once
// Pieces of a web address as the program shows and stores them, and the name it
// proposes for a new site. Neither changes its argument.
#include <string>
#include <string_view>

namespace kv {

// component is one of "protocol", "server", "domain", "path", "file", "hash",
// "query", spelled exactly so; any other keyword gives "".
std::string ParseUrl(std::string_view address, std::string_view component);

// The host's next-to-last label capitalised ("https://www.shop.example/" → "Shop"),
// a numeric host as it stands, "" for a host without a dot.
std::string SiteNameFromUrl(std::string_view address);

} // namespace kv
