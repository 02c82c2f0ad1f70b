#include "startup/first_run_wizard.h"

#include "startup/create_login_dialog.h"
#include "startup/startup_texts.h"

namespace kv {

FirstRunWizard::FirstRunWizard(Dialogs& dialogs, const UserAccount& user, RandomFill random)
    : dialogs_(dialogs), user_(user), random_(std::move(random))
{
}

std::string FirstRunWizard::defaultDirectory() const
{
    return (user_.documentsFolder() / kDefaultProfileFolder).string();
}

std::string FirstRunWizard::cmdBrowse_Click(const std::string& txtDefaultDir)
{
    const auto chosen = dialogs_.chooseFolder(kSelectDirectory, txtDefaultDir);
    return chosen && !chosen->empty() ? chosen->string() : txtDefaultDir;
}

bool FirstRunWizard::tmrGData_Timer(int cursorX, int cursorY)
{
    if (keyGenerated())
        return true;
    mouse_.addCursorPosition(cursorX, cursorY);
    if (!mouse_.enough())
        return false;
    key_ = BuildProfileKey(mouse_.text(), random_);
    return true;
}

bool FirstRunWizard::cmdFinish_Click(const std::string& txtDefaultDir, int option, bool chkMakeCategories)
{
    // A path that is not absolute would land wherever the program happened to be started.
    if (!std::filesystem::path(txtDefaultDir).is_absolute()) {
        dialogs_.message(kEnterStoragePath);
        return false;
    }
    if (!keyGenerated()) {
        dialogs_.message(kGenerateKeyFirst);
        return false;
    }
    std::string login, password;
    if (option == kOwnLoginChoice || option == kBothLoginsChoice) {
        CreateLoginDialog createLogin(dialogs_);
        dialogs_.showCreateLogin(createLogin);
        if (createLogin.NewLogin.empty() || createLogin.NewPassword.empty())
            return false;
        login = createLogin.NewLogin;
        password = createLogin.NewPassword;
    }
    results_ = {user_.name(), txtDefaultDir,    key_, std::to_string(option), login,
                password,     chkMakeCategories};
    return true;
}

} // namespace kv
