// Any text as registry hex text: StrToBin, isBinValid and BinToStr never crash, and
// valid text of whole pairs comes back from a round trip as uppercase pairs.
#include "support/reg_access.h"
#include "support/sqlite_registry_backend.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The hex conversions never reach the store, so it is never opened.
    static kv::SqliteRegistryBackend backend("/nonexistent/kv-fuzz");
    static kv::clsRegAccess registry(backend);
    const std::string text(reinterpret_cast<const char*>(data), size);

    std::string cleaned = text;
    const std::string bytes = registry.StrToBin(cleaned);
    if (cleaned.find(' ') != std::string::npos || bytes.size() > cleaned.size() / 2 + 1)
        std::abort();
    const std::string back = registry.BinToStr(bytes);
    if (back.size() != bytes.size() * 3)
        std::abort();

    if (registry.isBinValid(text) && cleaned.size() % 2 == 0) {
        std::string expected;
        for (std::size_t i = 0; i < cleaned.size(); i += 2)
            expected += ' ' + cleaned.substr(i, 2);
        std::transform(expected.begin(), expected.end(), expected.begin(),
                       [](char c) { return c >= 'a' && c <= 'f' ? static_cast<char>(c - 'a' + 'A') : c; });
        if (back != expected)
            std::abort();
    }
    return 0;
}
