#pragma once
// The cleanup engine: counts the cookies, history and temporary files of the browser, and
// deletes the categories that are switched on. Passes run one after the other, each over a
// fresh walk of the cache; a pass that is asked for while another runs waits its turn, so the
// browser's pages never wait for a cleanup and two passes never mix their deletions.
#include "cleanup/url_cache.h"

#include <cstdint>
#include <deque>
#include <functional>

namespace kv {

struct CleanupSwitches {
    bool deleteTemp = false;
    bool deleteHistory = false;
    bool deleteCookies = false;

    static constexpr CleanupSwitches All() { return {true, true, true}; }
    bool operator==(const CleanupSwitches&) const = default;
};

struct CacheCounts {
    std::int32_t total = 0;
    std::int32_t temp = 0;
    std::int32_t cookie = 0;
    std::int32_t history = 0;

    bool operator==(const CacheCounts&) const = default;
};

class BrowserCleanup {
public:
    explicit BrowserCleanup(UrlCache& cache);
    BrowserCleanup(const BrowserCleanup&) = delete;
    BrowserCleanup& operator=(const BrowserCleanup&) = delete;

    // Which categories the next delete pass removes; each pass takes them as they are when
    // it is asked for.
    CleanupSwitches switches;

    // Counting adds every entry to the counts; deleting removes the entries of the
    // switched-on categories and lowers their counts (the total stays). done runs after it.
    void ScanUrlCache(bool deleteMode, std::function<void()> done = {});
    // Counts from zero; shown gets the fresh counts.
    void ShowCacheCounts(std::function<void(const CacheCounts&)> shown);
    // After a page has loaded with secure browsing on: every category, without asking. A pass
    // asked for while one still waits to start is already covered by it.
    void SecureBrowsingPass();

    const CacheCounts& counts() const { return counts_; }
    // No pass runs or waits.
    bool idle() const { return !running_ && queue_.empty(); }

private:
    struct Pass {
        bool deleteMode = false;
        bool fromZero = false;
        bool secure = false;
        CleanupSwitches switches;
        std::function<void()> done;
    };

    void enqueue(Pass pass);
    void startNext();
    void count(const UrlCache::Entries& entries);
    UrlCache::Entries pickForDeletion(const UrlCache::Entries& entries, const CleanupSwitches& on);
    void finish(std::function<void()> done);

    UrlCache& cache_;
    CacheCounts counts_;
    std::deque<Pass> queue_;
    bool running_ = false;
    bool secureWaiting_ = false;
};

} // namespace kv
