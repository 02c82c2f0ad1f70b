#include "startup/create_login_dialog.h"

#include "startup/startup_texts.h"

namespace kv {

bool CreateLoginDialog::cmdOK_Click(const std::string& txtLogin, const std::string& txtPass,
                                    const std::string& txtPass1)
{
    if (txtPass != txtPass1) {
        dialogs_.message(kPasswordsDoNotMatch);
        return false;
    }
    if (txtLogin.empty() || txtPass.empty() || txtPass1.empty()) {
        dialogs_.message(kLoginOrPasswordBlank);
        return false;
    }
    NewLogin = txtLogin;
    NewPassword = txtPass;
    return true;
}

} // namespace kv
