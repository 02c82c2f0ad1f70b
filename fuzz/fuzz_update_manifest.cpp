// Update manifests from anywhere: reading never crashes, and whatever it accepts keeps every
// file inside the program folder and every address on the web.
#include "fuzz_check.h"
#include "update/update_manifest.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

using kv::fuzz::Require;

namespace {

constexpr std::string_view kProgram = "kestrelyn-vormaplex";

bool IsWeb(std::string_view address)
{
    std::string lower(address.substr(0, 8));
    for (char& c : lower)
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return (lower.starts_with("http://") && address.size() > 7) ||
           (lower.starts_with("https://") && address.size() > 8);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto manifest = kv::ReadUpdateManifest(text, kProgram);
    if (!manifest)
        return 0;
    Require(!manifest->version.empty());
    Require(std::all_of(manifest->version.begin(), manifest->version.end(),
                        [](char c) { return (c >= '0' && c <= '9') || c == '.'; }));
    Require(IsWeb(manifest->source));
    Require(manifest->news.empty() || IsWeb(manifest->news));
    Require(manifest->helpers.size() <= static_cast<std::size_t>(kv::kMaxHelperFiles));
    for (const kv::HelperFile& helper : manifest->helpers) {
        const std::string_view name = helper.name;
        Require(!name.empty() && name.front() != '.');
        Require(name.find('/') == std::string_view::npos && name.find('\\') == std::string_view::npos);
        Require(name.find('\0') == std::string_view::npos);
        Require(name != kProgram && name.substr(0, 12) != "manifest.ini");
    }
    return 0;
}
