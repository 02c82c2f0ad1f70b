#include "cleanup/chromium/simple_cache_directory.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace kv {
namespace {

constexpr std::uint64_t kEntryMagic = 0xfcfb6d1ba7725c30ULL;
constexpr std::size_t kHeaderSize = 24; // magic, version, key length, key hash, padding
constexpr std::uint32_t kMaxKeyLength = 64 * 1024;
constexpr std::size_t kHashLength = 16;
constexpr std::array<std::string_view, 3> kEntryFileSuffixes{"_0", "_1", "_s"};

bool IsHashName(std::string_view name)
{
    return name.size() == kHashLength && std::all_of(name.begin(), name.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

// The key from an entry file's header; empty when the file is not a readable entry.
std::string ReadKey(const std::filesystem::path& file)
{
    const int fd = open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return {};
    std::string key;
    unsigned char header[kHeaderSize];
    if (pread(fd, header, sizeof header, 0) == static_cast<ssize_t>(sizeof header)) {
        std::uint64_t magic = 0;
        std::uint32_t length = 0;
        std::memcpy(&magic, header, sizeof magic);
        std::memcpy(&length, header + 12, sizeof length);
        if (magic == kEntryMagic && length <= kMaxKeyLength) {
            key.resize(length);
            if (pread(fd, key.data(), length, kHeaderSize) != static_cast<ssize_t>(length))
                key.clear();
        }
    }
    close(fd);
    return key;
}

} // namespace

std::string CacheKeyAddress(std::string_view key)
{
    if (const std::size_t space = key.rfind(' '); space != std::string_view::npos)
        return std::string(key.substr(space + 1));
    // Older keys: "<digit>/<digit>/<address>".
    if (key.size() > 4 && key[1] == '/' && key[3] == '/' &&
        std::isdigit(static_cast<unsigned char>(key[0])) && std::isdigit(static_cast<unsigned char>(key[2])))
        return std::string(key.substr(4));
    return std::string(key);
}

UrlCache::Entries ReadSimpleCacheEntries(const ChromiumProfile& profile)
{
    UrlCache::Entries entries;
    const std::filesystem::path directory = profile.cacheDirectory();
    std::error_code error;
    if (!profile.contains(directory) || !std::filesystem::is_directory(directory, error))
        return entries;
    for (std::filesystem::directory_iterator it(directory, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() != kHashLength + 2 || name.compare(kHashLength, 2, "_0") != 0 ||
            !IsHashName(std::string_view(name).substr(0, kHashLength)) || !it->is_regular_file(error))
            continue;
        // An entry whose header cannot be read still takes room in the cache: it counts, nameless.
        entries.push_back(
            {CacheKeyAddress(ReadKey(it->path())), NORMAL_CACHE_ENTRY, name.substr(0, kHashLength)});
    }
    return entries;
}

void DeleteSimpleCacheEntries(const ChromiumProfile& profile, const std::vector<std::string>& hashes)
{
    const std::filesystem::path directory = profile.cacheDirectory();
    if (hashes.empty() || !profile.contains(directory))
        return;
    bool deleted = false;
    for (const std::string& hash : hashes) {
        if (!IsHashName(hash))
            continue;
        for (std::string_view suffix : kEntryFileSuffixes)
            deleted |= unlink((directory / (hash + std::string(suffix))).c_str()) == 0;
    }
    const std::filesystem::path index = directory / "index-dir" / "the-real-index";
    if (deleted && profile.contains(index))
        unlink(index.c_str());
}

} // namespace kv
