#include "cleanup/chromium/chromium_profile_cache.h"

#include "cleanup/chromium/cookie_address.h"
#include "cleanup/chromium/cookie_database.h"
#include "cleanup/chromium/history_database.h"
#include "cleanup/chromium/simple_cache_directory.h"

#include <charconv>
#include <chrono>
#include <nlohmann/json.hpp>
#include <utility>
#include <vector>

namespace kv {
namespace {

using Json = nlohmann::json;

// A browser that does not answer within this time is treated as having nothing.
constexpr std::chrono::milliseconds kAnswerLimit{30000};
// Cookie fields that name a cookie when it is set again, expired, to delete it.
constexpr const char* kCookieIdentity[] = {
    "name", "domain", "path", "secure", "httpOnly", "sameSite", "partitionKey", "sourceScheme", "sourcePort"};

// Runs whenAll once: when all expected answers have come, or when the time is up.
class Rendezvous {
public:
    Rendezvous(int expected, std::function<void()> whenAll)
        : expected_(expected), whenAll_(std::move(whenAll))
    {
    }
    void arrive()
    {
        if (--expected_ <= 0)
            fire();
    }
    void fire()
    {
        if (auto whenAll = std::exchange(whenAll_, nullptr))
            whenAll();
    }

private:
    int expected_;
    std::function<void()> whenAll_;
};

// Runs task from the timer, unless the back-end is gone by then.
void PostIfAlive(TaskTimer& timer, const std::weak_ptr<int>& alive, std::function<void()> task)
{
    timer.after(std::chrono::milliseconds(0), [alive, task = std::move(task)] {
        if (alive.lock())
            task();
    });
}

std::string Text(const Json& object, const char* key)
{
    const auto it = object.is_object() ? object.find(key) : object.end();
    return it != object.end() && it->is_string() ? it->get<std::string>() : std::string();
}

void AppendBrowserCookies(const std::optional<Json>& answer, UrlCache::Entries& entries)
{
    if (!answer || !answer->contains("cookies") || !(*answer)["cookies"].is_array())
        return;
    for (const Json& cookie : answer->at("cookies")) {
        const std::string domain = Text(cookie, "domain");
        if (!cookie.is_object() || domain.empty())
            continue;
        Json identity = Json::object();
        for (const char* field : kCookieIdentity)
            if (const auto it = cookie.find(field); it != cookie.end())
                identity[field] = *it;
        const auto secure = cookie.find("secure");
        const std::string address =
            CookieAddress(domain, Text(cookie, "path"),
                          secure != cookie.end() && secure->is_boolean() && secure->get<bool>());
        // A host-only cookie is named by its address: naming its domain would set a domain cookie.
        if (domain.front() != '.') {
            identity.erase("domain");
            identity["url"] = address;
        }
        entries.push_back({address, COOKIE_CACHE_ENTRY, identity.dump()});
    }
}

void AppendHistory(const CleanupExtension::Value& addresses, UrlCache::Entries& entries)
{
    if (!addresses || !addresses->is_array())
        return;
    for (const Json& address : *addresses)
        if (address.is_string())
            entries.push_back(
                {address.get<std::string>(), URLHISTORY_CACHE_ENTRY, address.get<std::string>()});
}

std::vector<std::int64_t> RowIds(const UrlCache::Entries& entries, EntryCategory category)
{
    std::vector<std::int64_t> ids;
    for (const UrlCacheEntry& entry : entries) {
        std::int64_t id = 0;
        const char* end = entry.key.data() + entry.key.size();
        if (CategoryOf(entry.CacheEntryType) == category &&
            std::from_chars(entry.key.data(), end, id).ptr == end)
            ids.push_back(id);
    }
    return ids;
}

std::vector<std::string> Keys(const UrlCache::Entries& entries, EntryCategory category)
{
    std::vector<std::string> keys;
    for (const UrlCacheEntry& entry : entries)
        if (CategoryOf(entry.CacheEntryType) == category)
            keys.push_back(entry.key);
    return keys;
}

} // namespace

ChromiumProfileCache::ChromiumProfileCache(std::shared_ptr<ChromiumSession> session, ChromiumProfile profile,
                                           std::filesystem::path extensionDirectory, TaskTimer& timer)
    : session_(session), profile_(std::move(profile)),
      extension_(session, std::move(extensionDirectory), timer), timer_(timer)
{
}

void ChromiumProfileCache::post(std::function<void()> task)
{
    PostIfAlive(timer_, alive_, std::move(task));
}

ChromiumProfileCache::Walked ChromiumProfileCache::here() const
{
    return session_->running() ? Walked{true, session_->processId()} : Walked{};
}

void ChromiumProfileCache::FindUrlCacheEntries(std::function<void(Entries)> done)
{
    walked_ = here();
    if (walked_->inBrowser) {
        findInBrowser(std::move(done));
        return;
    }
    Entries entries;
    if (!profile_.lockedByAnotherBrowser()) {
        entries = ReadHistoryEntries(profile_);
        Entries cookies = ReadCookieEntries(profile_);
        Entries cache = ReadSimpleCacheEntries(profile_);
        entries.insert(entries.end(), std::make_move_iterator(cookies.begin()),
                       std::make_move_iterator(cookies.end()));
        entries.insert(entries.end(), std::make_move_iterator(cache.begin()),
                       std::make_move_iterator(cache.end()));
    }
    post([done = std::move(done), entries = std::move(entries)] { done(entries); });
}

void ChromiumProfileCache::findInBrowser(std::function<void(Entries)> done)
{
    // The cache files can be read beside the running browser; it only ever reads them whole.
    auto found = std::make_shared<Entries>(ReadSimpleCacheEntries(profile_));
    auto all = std::make_shared<Rendezvous>(
        2, [timer = &timer_, alive = std::weak_ptr<int>(alive_), found, done = std::move(done)] {
            PostIfAlive(*timer, alive, [done, entries = *found] { done(entries); });
        });
    timer_.after(kAnswerLimit, [all] { all->fire(); });
    session_->sendCommand("Storage.getCookies", Json::object(), {},
                          [found, all](const std::optional<Json>& answer) {
                              AppendBrowserCookies(answer, *found);
                              all->arrive();
                          });
    extension_.call("historyAddresses()", [found, all](const CleanupExtension::Value& addresses) {
        AppendHistory(addresses, *found);
        all->arrive();
    });
}

void ChromiumProfileCache::DeleteUrlCacheEntries(Entries entries, bool clearHistory,
                                                 std::function<void()> done)
{
    const Walked now = here();
    if (walked_ != now) {
        // The browser started or ended since the walk: these entries are not where they were.
    } else if (now.inBrowser) {
        deleteInBrowser(entries, clearHistory, std::move(done));
        return;
    } else if (!profile_.lockedByAnotherBrowser()) {
        deleteOnDisk(entries, clearHistory);
    }
    post(std::move(done));
}

void ChromiumProfileCache::deleteInBrowser(const Entries& entries, bool clearHistory,
                                           std::function<void()> done)
{
    Json expired = Json::array();
    for (const std::string& key : Keys(entries, EntryCategory::Cookie)) {
        Json cookie = Json::parse(key, nullptr, false);
        if (!cookie.is_object())
            continue;
        cookie["value"] = "";
        cookie["expires"] = 1;
        expired.push_back(std::move(cookie));
    }
    // Emptying the history removes every address anyway; single ones only without it.
    const std::vector<std::string> addresses =
        clearHistory ? std::vector<std::string>{} : Keys(entries, EntryCategory::History);
    const bool deleteHistory = clearHistory || !addresses.empty();
    // The cache can only be emptied as a whole from outside; it holds nothing but temporary files.
    const bool deleteCache = !Keys(entries, EntryCategory::TemporaryFile).empty();

    const int expected = int(!expired.empty()) + int(deleteHistory) + int(deleteCache);
    auto all = std::make_shared<Rendezvous>(expected,
                                            [timer = &timer_, alive = std::weak_ptr<int>(alive_),
                                             done = std::move(done)] { PostIfAlive(*timer, alive, done); });
    timer_.after(kAnswerLimit, [all] { all->fire(); });
    if (!expired.empty())
        session_->sendCommand("Storage.setCookies", {{"cookies", expired}}, {},
                              [all](const std::optional<Json>&) { all->arrive(); });
    if (deleteHistory)
        extension_.call("deleteHistory(" + Json(addresses).dump(-1, ' ', true) + ", " +
                            (clearHistory ? "true" : "false") + ")",
                        [all](const CleanupExtension::Value&) { all->arrive(); });
    if (deleteCache)
        extension_.call("deleteCache()", [all](const CleanupExtension::Value&) { all->arrive(); });
    if (expected == 0)
        all->fire();
}

void ChromiumProfileCache::deleteOnDisk(const Entries& entries, bool clearHistory)
{
    DeleteCookieEntries(profile_, RowIds(entries, EntryCategory::Cookie));
    if (clearHistory)
        ClearHistoryStores(profile_);
    else
        DeleteHistoryEntries(profile_, RowIds(entries, EntryCategory::History));
    DeleteSimpleCacheEntries(profile_, Keys(entries, EntryCategory::TemporaryFile));
}

std::filesystem::path ChromiumProfileCache::FolderOf(EntryCategory category) const
{
    std::filesystem::path folder;
    switch (category) {
    case EntryCategory::Cookie:
        folder = profile_.cookiesFile().parent_path();
        break;
    case EntryCategory::History:
        folder = profile_.historyFile().parent_path();
        break;
    case EntryCategory::TemporaryFile:
        folder = profile_.cacheDirectory();
        break;
    }
    std::error_code error;
    if (!profile_.contains(folder) || !std::filesystem::is_directory(folder, error))
        return {};
    return folder;
}

} // namespace kv
