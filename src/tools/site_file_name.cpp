#include "tools/site_file_name.h"

#include "storage/site_file.h"

#include <string_view>

namespace kv {

namespace {
constexpr std::size_t kMaxFileNameBytes = 255;
constexpr std::string_view kRefused("/\\:*?\"<>|\0", 10);

bool IsContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}
} // namespace

std::string SafeFileName(std::string_view name, std::size_t reserve)
{
    std::string safe(name);
    for (char& c : safe)
        if (kRefused.find(c) != std::string_view::npos || static_cast<unsigned char>(c) < 0x20)
            c = '_';
    if (safe.starts_with('.'))
        safe[0] = '_';
    const std::size_t room = kMaxFileNameBytes - std::min(reserve, kMaxFileNameBytes - 1);
    if (safe.size() > room) {
        std::size_t cut = room;
        while (cut > 0 && IsContinuationByte(safe[cut]))
            --cut;
        safe.resize(cut);
    }
    return safe.empty() ? std::string("_") : safe;
}

std::filesystem::path UniqueSiteFile(const std::filesystem::path& folder, std::string_view name,
                                     std::set<std::string>& taken, ExistingFiles existing)
{
    for (int number = 1;; ++number) {
        const std::string suffix = number == 1 ? std::string() : " (" + std::to_string(number) + ")";
        const std::string fileName = SafeFileName(name, suffix.size() + kSiteFileExtension.size()) + suffix +
                                     std::string(kSiteFileExtension);
        std::error_code ignored;
        const bool kept =
            existing == ExistingFiles::Keep && std::filesystem::exists(folder / fileName, ignored);
        if (!taken.contains(fileName) && !kept) {
            taken.insert(fileName);
            return folder / fileName;
        }
    }
}

} // namespace kv
