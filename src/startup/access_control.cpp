#include "startup/access_control.h"

#include "startup/login_dialog.h"
#include "startup/profile_settings.h"
#include "storage/key_material.h"

namespace kv {

namespace {
void RequirePass(LoginDialog& dialog, Dialogs& dialogs, Process& process)
{
    dialog.Form_Load();
    dialogs.showLogin(dialog);
    if (!dialog.Passed)
        process.endProgram();
}
} // namespace

void RunAccessControl(const std::filesystem::path& profileFile, Dialogs& dialogs, Process& process,
                      AccountCheck& accounts, const UserAccount& user)
{
    const SecuritySettings settings(profileFile, dialogs, process);
    if (settings.read(SECURITY_ENABLED, CurrentCipherKeys().valueKey) != kSettingOn)
        return;
    const auto choice = ParseInt16(settings.read(LOGIN_CHOICE, CurrentCipherKeys().machineKey));
    const bool account = choice == 2 || choice == 3;
    const bool own = choice == 1 || choice == 3;
    if (!account && !own)
        process.endProgram();
    if (account) {
        AccountLoginDialog dialog(settings, dialogs, process, accounts, user);
        RequirePass(dialog, dialogs, process);
    }
    if (own) {
        OwnLoginDialog dialog(settings, dialogs, process);
        RequirePass(dialog, dialogs, process);
    }
}

} // namespace kv
