#include "cleanup/browser_cleanup_panel.h"

#include "cleanup/cleanup_texts.h"

#include <utility>

namespace kv {

BrowserCleanupPanel::BrowserCleanupPanel(BrowserCleanup& cleanup, UrlCache& cache,
                                         std::filesystem::path profileFile, Dialogs& dialogs,
                                         DesktopShell& shell)
    : cleanup_(cleanup), cache_(cache), profileFile_(std::move(profileFile)), dialogs_(dialogs), shell_(shell)
{
}

LoadedCleanupChoices BrowserCleanupPanel::load(CountsShown shown)
{
    LoadedCleanupChoices loaded = LoadCleanupChoices(profileFile_);
    cleanup_.ShowCacheCounts(std::move(shown));
    return loaded;
}

void BrowserCleanupPanel::save(const CleanupChoices& choices)
{
    SaveCleanupChoices(choices, profileFile_);
}

void BrowserCleanupPanel::cmdClearAll_Click(CountsShown shown)
{
    if (dialogs_.ask(kDeleteAllQuestion, Buttons::YesNo, Icon::Exclamation) != Dialogs::Answer::Yes)
        return;
    cleanup_.switches = CleanupSwitches::All();
    cleanup_.ScanUrlCache(true);
    cleanup_.ShowCacheCounts(std::move(shown));
}

void BrowserCleanupPanel::openFolder(EntryCategory category)
{
    const std::filesystem::path folder = cache_.FolderOf(category);
    if (!folder.empty())
        shell_.open(folder.string());
}

} // namespace kv
