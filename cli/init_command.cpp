// init: the first-run wizard's profile, made from the terminal.
#include "cli/command_runners.h"
#include "cli/open_profile.h"
#include "platform/machine_identity.h"
#include "platform/user_account.h"
#include "startup/create_profile.h"
#include "startup/desktop_shortcuts.h"
#include "startup/first_run_wizard.h"
#include "startup/recorded_profile.h"
#include "storage/sites_tree.h"
#include "support/reg_access.h"
#include "support/sqlite_registry_backend.h"

#include <iostream>

namespace kv::cli {

int RunInit(const CommandContext& context)
{
    const Arguments& arguments = context.arguments;
    const auto directory = arguments.value("dir");
    if (!directory || directory->empty())
        return Fail("init needs --dir DIR, the folder of the new profile");
    const auto choice = WholeNumber(arguments.value("login-choice").value_or("1"), 1, 4);
    if (!choice)
        return Fail("--login-choice is 1 (own login), 2 (account password), 3 (both) or 4 (none)");

    SqliteRegistryBackend backend(DefaultRegistryDirectory());
    clsRegAccess registry(backend);
    const auto recorded = RecordedProfile(registry);
    if (!recorded)
        return Fail(UnreadableRegistryReason());
    if (!recorded->name.empty())
        return Fail("a profile is already recorded, in " + recorded->path.string());

    LinuxUserAccount user;
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(*directory, error).lexically_normal();
    if (error)
        return Fail("cannot use '" + *directory + "' as a folder: " + error.message());
    if (path.has_relative_path() && path.filename().empty())
        path = path.parent_path();
    // Refused before any login is asked for; making the profile refuses it again should one
    // appear meanwhile.
    const std::string foundInPlace =
        path.string() + " already holds a profile settings file; it was left as it is";
    NewProfile place;
    place.name = user.name();
    place.path = path.string();
    if (ProfileFileExists(place))
        return Fail(foundInPlace);

    if (const auto login = arguments.value("login"))
        context.dialogs.presetLogin(*login);
    FirstRunWizard wizard(context.dialogs, user, FillSecureRandom);
    wizard.generateKeyWithoutMouse();
    if (!wizard.cmdFinish_Click(path.string(), static_cast<int>(*choice), !arguments.has("no-categories")))
        return kFailed;
    LinuxMachineIdentity machine;
    NoDesktopShortcuts shortcuts; // a terminal has no desktop; the program's Options make the launcher
    switch (InstallNewProfile(wizard.results(), machine, shortcuts, registry, [] { return false; })) {
    case NewProfileInstall::Recorded:
        break;
    case NewProfileInstall::Declined:
        return Fail(foundInPlace);
    case NewProfileInstall::NotRecorded:
        return Fail("the profile was made in " + path.string() + " but the registry folder " +
                    DefaultRegistryDirectory().string() +
                    " refused to record it: start kestrelyn-vormaplex and choose that folder to use it");
    }
    if (!FileExists(ProfileFile({user.name(), path})))
        return Fail("the profile could not be written to " + path.string());
    std::cout << "Created the profile of " << user.name() << " in " << path.string() << '\n';
    return kSucceeded;
}

} // namespace kv::cli
