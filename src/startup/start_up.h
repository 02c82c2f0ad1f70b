#pragma once
// The start-up sequence: platform check, command line, single instance, profile
// (first run: wizard and new profile; missing settings file: the user is asked),
// temp files left by interrupted writes, cipher keys, access control. StartUp returns only when the main
// window may open, with CurrentProfile() and the cipher keys set; every other road ends the program through
// process.endProgram().
#include "platform/account_check.h"
#include "platform/machine_identity.h"
#include "platform/process_terminator.h"
#include "platform/single_instance.h"
#include "platform/user_account.h"
#include "startup/desktop_shortcuts.h"
#include "startup/profile_key.h"
#include "storage/secure_random.h"
#include "support/dialogs.h"
#include "support/process.h"
#include "support/reg_access.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kv {

struct StartUpContext {
    Dialogs& dialogs;
    Process& process;
    clsRegAccess& registry;
    const MachineIdentity& machine;
    const UserAccount& user;
    AccountCheck& accounts;
    SingleInstance& instance;
    ProcessTerminator& terminator;
    DesktopShortcuts& shortcuts;
    std::filesystem::path executable; // the start-up entry's target
    bool supportedBrowserPresent = false;
    RandomFill random = FillSecureRandom;     // the profile key's randomness
    std::filesystem::path registryLocation{}; // named to the user when the registry fails
};

// arguments: the command line after the program's name.
void StartUp(const std::vector<std::string>& arguments, StartUpContext& context);

void ResolveProfile(StartUpContext& context);

} // namespace kv
