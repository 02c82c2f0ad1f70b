// Any text as a page address for the proposed site name.
#include "support/parse_url.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view address(reinterpret_cast<const char*>(data), size);
    if (kv::SiteNameFromUrl(address).size() > address.size())
        std::abort();
    return 0;
}
