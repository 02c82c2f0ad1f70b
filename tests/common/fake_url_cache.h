#pragma once
// A UrlCache held in memory: tests fill it with entries, and see what was deleted and whether
// the history store was emptied. Answers come at once, or wait for release() when held.
#include "cleanup/url_cache.h"

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

namespace kv::test {

class FakeUrlCache : public UrlCache {
public:
    // What browsing typically leaves: 3 cookies, 2 visited addresses and 5 cached files.
    void addBrowsingLeftovers()
    {
        add(EntryCategory::Cookie, 3);
        add(EntryCategory::History, 2);
        add(EntryCategory::TemporaryFile, 5);
    }
    void add(EntryCategory category, int howMany)
    {
        static const std::uint32_t types[] = {URLHISTORY_CACHE_ENTRY, COOKIE_CACHE_ENTRY, NORMAL_CACHE_ENTRY};
        for (int i = 0; i < howMany; ++i) {
            const std::string key = std::to_string(entries.size());
            entries.push_back({"https://site.example/" + key, types[static_cast<int>(category)], key});
        }
    }
    int countOf(EntryCategory category) const
    {
        return static_cast<int>(
            std::count_if(entries.begin(), entries.end(), [&](const UrlCacheEntry& entry) {
                return CategoryOf(entry.CacheEntryType) == category;
            }));
    }

    void FindUrlCacheEntries(std::function<void(Entries)> done) override
    {
        ++walks;
        answer([this, done] { done(entries); });
    }
    void DeleteUrlCacheEntries(Entries doomed, bool clearHistory, std::function<void()> done) override
    {
        deleteCalls.push_back({doomed, clearHistory});
        answer([this, doomed, clearHistory, done] {
            if (!failDeletes) {
                std::erase_if(entries, [&](const UrlCacheEntry& entry) {
                    return std::any_of(doomed.begin(), doomed.end(),
                                       [&](const UrlCacheEntry& gone) { return gone.key == entry.key; }) ||
                           (clearHistory && CategoryOf(entry.CacheEntryType) == EntryCategory::History);
                });
            }
            done();
        });
    }
    std::filesystem::path FolderOf(EntryCategory category) const override
    {
        return category == EntryCategory::Cookie ? "/profile/Default/Network" : "/profile/Default";
    }

    // Holding: answers wait until release() lets the oldest one go.
    void release()
    {
        auto next = std::move(held.front());
        held.pop_front();
        next();
    }

    struct DeleteCall {
        Entries entries;
        bool clearHistory = false;
    };
    Entries entries;
    bool hold = false;
    bool failDeletes = false;
    int walks = 0;
    std::vector<DeleteCall> deleteCalls;
    std::deque<std::function<void()>> held;

private:
    void answer(std::function<void()> reply)
    {
        if (hold)
            held.push_back(std::move(reply));
        else
            reply();
    }
};

} // namespace kv::test
