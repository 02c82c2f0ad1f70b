#pragma once
// The program's own protection at start-up: no login, the own login, the account's
// password, or the account's password and then the own login, as the profile says.
#include "platform/account_check.h"
#include "platform/user_account.h"
#include "support/dialogs.h"
#include "support/process.h"

#include <filesystem>

namespace kv {

// Returns when the user may go on (the cipher keys must be set); otherwise the program ends.
void RunAccessControl(const std::filesystem::path& profileFile, Dialogs& dialogs, Process& process,
                      AccountCheck& accounts, const UserAccount& user);

} // namespace kv
