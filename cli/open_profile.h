#pragma once
// Opening the profile as the program does at start-up: the one this account recorded, its
// cipher keys on this machine, then its own login with the same attempt rule (asked on the
// terminal, or passwords from standard input). The first-run wizard is not run: that is
// what "init" is for.
#include "startup/profile.h"
#include "support/dialogs.h"

#include <string>
#include <tl/expected.hpp>

namespace kv::cli {

// The open profile, or the line that tells why not. A login that is not passed ends the
// process with a failure, as it ends the program.
tl::expected<Profile, std::string> OpenRecordedProfile(Dialogs& dialogs);

// Why nothing was done when the registry could not be read: that is not "no profile yet".
std::string UnreadableRegistryReason();

} // namespace kv::cli
