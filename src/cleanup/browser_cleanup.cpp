#include "cleanup/browser_cleanup.h"

#include <algorithm>
#include <utility>

namespace kv {
namespace {

bool SwitchedOn(const CleanupSwitches& on, EntryCategory category)
{
    switch (category) {
    case EntryCategory::History:
        return on.deleteHistory;
    case EntryCategory::Cookie:
        return on.deleteCookies;
    case EntryCategory::TemporaryFile:
        return on.deleteTemp;
    }
    return false;
}

std::int32_t& CountOf(CacheCounts& counts, EntryCategory category)
{
    switch (category) {
    case EntryCategory::History:
        return counts.history;
    case EntryCategory::Cookie:
        return counts.cookie;
    case EntryCategory::TemporaryFile:
        break;
    }
    return counts.temp;
}

} // namespace

BrowserCleanup::BrowserCleanup(UrlCache& cache) : cache_(cache) {}

void BrowserCleanup::ScanUrlCache(bool deleteMode, std::function<void()> done)
{
    enqueue({deleteMode, false, false, switches, std::move(done)});
}

void BrowserCleanup::ShowCacheCounts(std::function<void(const CacheCounts&)> shown)
{
    enqueue({false, true, false, switches, [this, shown = std::move(shown)] {
                 if (shown)
                     shown(counts_);
             }});
}

void BrowserCleanup::SecureBrowsingPass()
{
    if (secureWaiting_)
        return;
    secureWaiting_ = true;
    switches = CleanupSwitches::All();
    enqueue({true, false, true, switches, {}});
}

void BrowserCleanup::enqueue(Pass pass)
{
    queue_.push_back(std::move(pass));
    if (!running_)
        startNext();
}

void BrowserCleanup::startNext()
{
    if (running_ || queue_.empty())
        return;
    running_ = true;
    Pass pass = std::move(queue_.front());
    queue_.pop_front();
    if (pass.secure)
        secureWaiting_ = false;
    cache_.FindUrlCacheEntries([this, pass = std::move(pass)](UrlCache::Entries entries) mutable {
        if (!pass.deleteMode) {
            if (pass.fromZero)
                counts_ = {};
            count(entries);
            finish(std::move(pass.done));
            return;
        }
        UrlCache::Entries doomed = pickForDeletion(entries, pass.switches);
        const bool clearHistory = std::any_of(doomed.begin(), doomed.end(), [](const UrlCacheEntry& entry) {
            return CategoryOf(entry.CacheEntryType) == EntryCategory::History;
        });
        if (doomed.empty()) {
            finish(std::move(pass.done));
            return;
        }
        cache_.DeleteUrlCacheEntries(
            std::move(doomed), clearHistory,
            [this, done = std::move(pass.done)]() mutable { finish(std::move(done)); });
    });
}

void BrowserCleanup::count(const UrlCache::Entries& entries)
{
    for (const UrlCacheEntry& entry : entries) {
        ++counts_.total;
        ++CountOf(counts_, CategoryOf(entry.CacheEntryType));
    }
}

UrlCache::Entries BrowserCleanup::pickForDeletion(const UrlCache::Entries& entries, const CleanupSwitches& on)
{
    UrlCache::Entries doomed;
    for (const UrlCacheEntry& entry : entries) {
        const EntryCategory category = CategoryOf(entry.CacheEntryType);
        if (!SwitchedOn(on, category))
            continue;
        // Lowered whether or not the deletion works; the next count tells the truth.
        --CountOf(counts_, category);
        doomed.push_back(entry);
    }
    return doomed;
}

// Takes done by value: the walk's callback that calls this may be gone once the next pass starts.
void BrowserCleanup::finish(std::function<void()> done)
{
    running_ = false;
    if (done)
        done();
    startNext();
}

} // namespace kv
