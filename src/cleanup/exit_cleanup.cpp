#include "cleanup/exit_cleanup.h"

#include "cleanup/cleanup_options.h"
#include "cleanup/cleanup_texts.h"
#include "startup/profile_settings.h"
#include "storage/ini_values.h"

#include <utility>

namespace kv {
namespace {

bool OptionIsOne(std::string_view key, const std::filesystem::path& profileFile)
{
    return OptionNumber(ReadIniValue(kOptionsSection, key, profileFile)) == 1.0;
}

} // namespace

CleanupSwitches ExitSwitches(const std::filesystem::path& profileFile)
{
    const std::string deleteAll = ReadIniValue(kOptionsSection, BROWSERDELETEALL, profileFile);
    const auto number = OptionNumber(deleteAll);
    if (deleteAll.empty() || number == 1.0)
        return CleanupSwitches::All();
    if (number == 0.0)
        return {OptionIsOne(BROWSERTEMP, profileFile), OptionIsOne(BROWSERHISTORY, profileFile),
                OptionIsOne(BROWSERCOOKIE, profileFile)};
    return {};
}

void RunExitCleanup(BrowserCleanup& cleanup, const std::filesystem::path& profileFile, Dialogs& dialogs,
                    std::function<void()> done)
{
    cleanup.switches = ExitSwitches(profileFile);
    const std::string prompt = ReadIniValue(kOptionsSection, BROWSERDELETEPROMPT, profileFile);
    const auto number = OptionNumber(prompt);
    bool deleteNow = number == 0.0;
    // The question comes even when no category is chosen; the pass then deletes nothing.
    if (prompt.empty() || number == 1.0)
        deleteNow =
            dialogs.ask(kDeleteAllQuestion, Buttons::YesNo, Icon::Exclamation) == Dialogs::Answer::Yes;
    if (deleteNow)
        cleanup.ScanUrlCache(true, std::move(done));
    else if (done)
        done();
}

} // namespace kv
