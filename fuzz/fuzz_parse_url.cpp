// Any text as a web address, for every component and a few wrong keywords.
#include "support/parse_url.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view address(reinterpret_cast<const char*>(data), size);
    for (std::string_view component : {"protocol", "server", "domain", "path", "file", "hash", "query"})
        if (kv::ParseUrl(address, component).size() > address.size())
            std::abort();
    for (std::string_view component : {"", "Domain", "host"})
        if (!kv::ParseUrl(address, component).empty())
            std::abort();
    return 0;
}
