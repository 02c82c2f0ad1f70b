#pragma once
// What the "Browser information" box and the cleanup check boxes of the Browser tab do: load
// and save their settings, show the counts, "Clear all", and open a category's folder.
#include "cleanup/browser_cleanup.h"
#include "cleanup/cleanup_options.h"
#include "platform/desktop_shell.h"
#include "support/dialogs.h"

#include <filesystem>
#include <functional>

namespace kv {

class BrowserCleanupPanel {
public:
    using CountsShown = std::function<void(const CacheCounts&)>;

    BrowserCleanupPanel(BrowserCleanup& cleanup, UrlCache& cache, std::filesystem::path profileFile,
                        Dialogs& dialogs, DesktopShell& shell);

    // The options load: the boxes from the profile, then fresh counts through shown.
    LoadedCleanupChoices load(CountsShown shown);
    // The options save.
    void save(const CleanupChoices& choices);
    // Asks, and on Yes deletes every category, then counts again through shown.
    void cmdClearAll_Click(CountsShown shown);
    // Opens the folder of a category's store with the desktop's file manager.
    void openFolder(EntryCategory category);

private:
    BrowserCleanup& cleanup_;
    UrlCache& cache_;
    std::filesystem::path profileFile_;
    Dialogs& dialogs_;
    DesktopShell& shell_;
};

} // namespace kv
