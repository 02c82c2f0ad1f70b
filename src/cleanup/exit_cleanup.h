#pragma once
// The cleanup that runs when the main window closes: the categories the options choose,
// after asking when the options say so.
#include "cleanup/browser_cleanup.h"
#include "support/dialogs.h"

#include <filesystem>
#include <functional>

namespace kv {

// BROWSERDELETEALL empty or 1: all three; 0: each by its own key; anything else: none.
CleanupSwitches ExitSwitches(const std::filesystem::path& profileFile);

// Sets the switches from the options, then asks (BROWSERDELETEPROMPT empty or 1) or not (0)
// and deletes; any other prompt value does nothing. done runs when all of it is over.
void RunExitCleanup(BrowserCleanup& cleanup, const std::filesystem::path& profileFile, Dialogs& dialogs,
                    std::function<void()> done);

} // namespace kv
