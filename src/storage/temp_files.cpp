#include "storage/temp_files.h"

#include "storage/site_file.h"

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

namespace kv {

namespace {
namespace fs = std::filesystem;

constexpr std::string_view kTempPrefix = ".kv-";
constexpr std::size_t kRandomLength = 6;

bool IsRandomPart(std::string_view text)
{
    return text.size() == kRandomLength && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
           });
}

// ".Name.QVR.Ab12Cd", ".alice.ini.Ab12Cd", "..site-being-saved.Ab12Cd"
bool IsEarlierTempFileName(std::string_view name)
{
    if (name.size() < 2 + kRandomLength || name[0] != '.' || name[name.size() - kRandomLength - 1] != '.' ||
        !IsRandomPart(name.substr(name.size() - kRandomLength)))
        return false;
    const std::string_view replaced = name.substr(1, name.size() - kRandomLength - 2);
    return replaced.find(kSiteFileExtension) != std::string_view::npos || replaced.ends_with(".ini") ||
           replaced == kPartialSiteFileName;
}

bool OlderThan(const struct stat& info, std::chrono::seconds maxAge)
{
    const auto changed = std::chrono::system_clock::from_time_t(info.st_mtim.tv_sec);
    return std::chrono::system_clock::now() - changed > maxAge;
}
} // namespace

std::string TempFileTemplate(const fs::path& folder)
{
    return (folder / kTempPrefix).string() + std::string(kRandomLength, 'X');
}

bool IsOwnTempFileName(std::string_view name)
{
    if (name.starts_with(kTempPrefix) && IsRandomPart(name.substr(kTempPrefix.size())))
        return true;
    return name == kPartialSiteFileName || IsEarlierTempFileName(name);
}

void RemoveStaleTempFiles(const fs::path& folder, std::chrono::seconds maxAge)
{
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const fs::path& path = it->path();
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0)
            continue;
        if (S_ISDIR(info.st_mode))
            RemoveStaleTempFiles(path, maxAge);
        else if (S_ISREG(info.st_mode) && IsOwnTempFileName(path.filename().string()) &&
                 OlderThan(info, maxAge))
            ::unlink(path.c_str());
    }
}

} // namespace kv
