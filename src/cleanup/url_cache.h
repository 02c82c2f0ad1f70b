#pragma once
// The browser's cookies, history and temporary files as one cache of entries, each with the
// type bits that say which of the three it is. A back-end walks the entries of the browser's
// stores and deletes the ones it is given; both may finish later, on the thread that asked.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace kv {

inline constexpr std::uint32_t NORMAL_CACHE_ENTRY = 0x00000001;
inline constexpr std::uint32_t COOKIE_CACHE_ENTRY = 0x00100000;
inline constexpr std::uint32_t URLHISTORY_CACHE_ENTRY = 0x00200000;

enum class EntryCategory { History, Cookie, TemporaryFile };

// History wins over cookie, and whatever is neither is a temporary file.
constexpr EntryCategory CategoryOf(std::uint32_t cacheEntryType)
{
    if (cacheEntryType & URLHISTORY_CACHE_ENTRY)
        return EntryCategory::History;
    if (cacheEntryType & COOKIE_CACHE_ENTRY)
        return EntryCategory::Cookie;
    return EntryCategory::TemporaryFile;
}

struct UrlCacheEntry {
    std::string lpszSourceUrlName; // the address the entry is about
    std::uint32_t CacheEntryType = NORMAL_CACHE_ENTRY;
    std::string key; // what the back-end that listed the entry needs to find it again
};

class UrlCache {
public:
    using Entries = std::vector<UrlCacheEntry>;

    virtual ~UrlCache() = default;
    // Every entry of the stores now; none when they cannot be read. done runs once.
    virtual void FindUrlCacheEntries(std::function<void(Entries)> done) = 0;
    // Deletes these entries (as the last walk listed them), then empties the history store
    // when clearHistory is set. Failures are not reported. done runs once.
    virtual void DeleteUrlCacheEntries(Entries entries, bool clearHistory, std::function<void()> done) = 0;
    // The folder that holds a category's store, to show it to the user; empty when there is none.
    virtual std::filesystem::path FolderOf(EntryCategory category) const = 0;
};

} // namespace kv
