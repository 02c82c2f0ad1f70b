#include "cli/open_profile.h"

#include "cli/terminal_dialogs.h"
#include "platform/account_check.h"
#include "platform/exiting_process.h"
#include "platform/machine_identity.h"
#include "platform/user_account.h"
#include "startup/access_control.h"
#include "startup/recorded_profile.h"
#include "storage/sites_tree.h"
#include "support/reg_access.h"
#include "support/sqlite_registry_backend.h"

#include <cstdlib>

namespace kv::cli {
namespace {

// Where the program ends after a refused login, the tool ends with one line and a failure.
class RefusedLoginEnds : public ExitingProcess {
public:
    [[noreturn]] void endProgram() override
    {
        PrintError("access denied");
        std::exit(1);
    }
};

} // namespace

tl::expected<Profile, std::string> OpenRecordedProfile(Dialogs& dialogs)
{
    SqliteRegistryBackend backend(DefaultRegistryDirectory());
    clsRegAccess registry(backend);
    const auto recorded = RecordedProfile(registry);
    if (!recorded)
        return tl::unexpected(UnreadableRegistryReason());
    const Profile& profile = *recorded;
    if (profile.name.empty())
        return tl::unexpected(
            std::string("no profile yet: create one with 'kestrelyn-cli init --dir DIR' or by "
                        "starting kestrelyn-vormaplex"));
    LinuxUserAccount user;
    if (profile.name != user.name())
        return tl::unexpected("the recorded profile belongs to '" + profile.name + "', not to '" +
                              user.name() + "'");
    if (!profile.path.is_absolute() || !FileExists(ProfileFile(profile)))
        return tl::unexpected("the profile's settings file is missing: " + ProfileFile(profile).string() +
                              " (start kestrelyn-vormaplex to find it)");
    LinuxMachineIdentity machine;
    auto keys = ProfileCipherKeys(ProfileFile(profile), machine.volumeSerial());
    if (!keys)
        return tl::unexpected("the profile cannot be opened on this machine: " + keys.error());
    SetCurrentProfile(profile);
    SetCipherKeys(std::move(*keys));
    RefusedLoginEnds process;
    PamAccountCheck accounts;
    RunAccessControl(ProfileFile(profile), dialogs, process, accounts, user);
    return profile;
}

std::string UnreadableRegistryReason()
{
    return "cannot read the settings in the registry folder " + DefaultRegistryDirectory().string() +
           " (damaged, unreadable or held by another program); nothing was changed";
}

} // namespace kv::cli
