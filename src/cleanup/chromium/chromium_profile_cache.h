#pragma once
// The cookies, history and temporary files of the program's own Chromium profile. While the
// program's browser runs, they are reached through it (its cookie store over the DevTools
// session, history and cache through the program's extension); while it is closed, in the
// profile's own files. A profile that another browser holds, or that is missing or damaged,
// has no entries and deleting does nothing.
#include "browser/chromium/chromium_session.h"
#include "cleanup/chromium/chromium_profile.h"
#include "cleanup/chromium/cleanup_extension.h"
#include "cleanup/url_cache.h"
#include "support/task_timer.h"

#include <filesystem>
#include <memory>
#include <sys/types.h>

namespace kv {

class ChromiumProfileCache : public UrlCache {
public:
    ChromiumProfileCache(std::shared_ptr<ChromiumSession> session, ChromiumProfile profile,
                         std::filesystem::path extensionDirectory, TaskTimer& timer);

    // Answers come later, from the timer, never inside the caller or inside a browser message.
    void FindUrlCacheEntries(std::function<void(Entries)> done) override;
    void DeleteUrlCacheEntries(Entries entries, bool clearHistory, std::function<void()> done) override;
    std::filesystem::path FolderOf(EntryCategory category) const override;

    const ChromiumProfile& profile() const { return profile_; }

private:
    // Where the last walk found its entries: their keys only make sense to the same place.
    struct Walked {
        bool inBrowser = false;
        pid_t browser = -1;
        bool operator==(const Walked&) const = default;
    };

    Walked here() const;
    void findInBrowser(std::function<void(Entries)> done);
    void deleteInBrowser(const Entries& entries, bool clearHistory, std::function<void()> done);
    void deleteOnDisk(const Entries& entries, bool clearHistory);
    void post(std::function<void()> task);

    std::shared_ptr<ChromiumSession> session_;
    ChromiumProfile profile_;
    CleanupExtension extension_;
    TaskTimer& timer_;
    std::optional<Walked> walked_;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0); // posted answers are dropped once this is gone
};

} // namespace kv
