#include "startup/access_control.h"

#include "startup/login_dialog.h"
#include "startup/profile_settings.h"
#include "storage/key_material.h"

namespace kv {

namespace {
bool Pass(LoginDialog& dialog, Dialogs& dialogs, LoginCancel cancel)
{
    dialog.cancelEndsProgram = cancel == LoginCancel::EndsProgram;
    dialog.Form_Load();
    dialogs.showLogin(dialog);
    return dialog.Passed;
}
} // namespace

bool ProgramLoginEnabled(const std::filesystem::path& profileFile, Dialogs& dialogs, Process& process)
{
    return SecuritySettings(profileFile, dialogs, process)
               .read(SECURITY_ENABLED, CurrentCipherKeys().valueKey) == kSettingOn;
}

bool PassProgramLogin(const std::filesystem::path& profileFile, Dialogs& dialogs, Process& process,
                      AccountCheck& accounts, const UserAccount& user, LoginCancel cancel)
{
    if (!ProgramLoginEnabled(profileFile, dialogs, process))
        return true;
    const SecuritySettings settings(profileFile, dialogs, process);
    const auto choice = ParseInt16(settings.read(LOGIN_CHOICE, CurrentCipherKeys().machineKey));
    const bool account = choice == 2 || choice == 3;
    const bool own = choice == 1 || choice == 3;
    if (!account && !own)
        return false;
    if (account) {
        AccountLoginDialog dialog(settings, dialogs, process, accounts, user);
        if (!Pass(dialog, dialogs, cancel))
            return false;
    }
    if (own) {
        OwnLoginDialog dialog(settings, dialogs, process);
        if (!Pass(dialog, dialogs, cancel))
            return false;
    }
    return true;
}

void RunAccessControl(const std::filesystem::path& profileFile, Dialogs& dialogs, Process& process,
                      AccountCheck& accounts, const UserAccount& user)
{
    if (!PassProgramLogin(profileFile, dialogs, process, accounts, user, LoginCancel::EndsProgram))
        process.endProgram();
}

} // namespace kv
