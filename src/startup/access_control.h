#pragma once
// The program's own protection at start-up: no login, the own login, the account's
// password, or the account's password and then the own login, as the profile says.
#include "platform/account_check.h"
#include "platform/user_account.h"
#include "support/dialogs.h"
#include "support/process.h"

#include <filesystem>

namespace kv {

// What Cancel in a login dialog does: end the program (at start-up), or only close the
// dialog unpassed (when a locked program is to be shown again).
enum class LoginCancel { EndsProgram, ClosesDialog };

// The profile's login dialogs in turn; true when none is needed or every one was passed.
// The cipher keys must be set. Running out of attempts ends the program either way.
bool PassProgramLogin(const std::filesystem::path& profileFile, Dialogs& dialogs, Process& process,
                      AccountCheck& accounts, const UserAccount& user, LoginCancel cancel);

// True when the profile asks for a login at all.
bool ProgramLoginEnabled(const std::filesystem::path& profileFile, Dialogs& dialogs, Process& process);

// Returns when the user may go on (the cipher keys must be set); otherwise the program ends.
void RunAccessControl(const std::filesystem::path& profileFile, Dialogs& dialogs, Process& process,
                      AccountCheck& accounts, const UserAccount& user);

} // namespace kv
