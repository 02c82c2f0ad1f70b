#pragma once
// The logic of frmCreateLogin, where the first-run wizard takes the program's own login.
// The form forwards cmdOK here and closes when it answers true; closing it any other
// way leaves NewLogin and NewPassword empty.
#include "support/dialogs.h"

#include <string>

namespace kv {

class CreateLoginDialog {
public:
    explicit CreateLoginDialog(Dialogs& dialogs) : dialogs_(dialogs) {}

    bool cmdOK_Click(const std::string& txtLogin, const std::string& txtPass, const std::string& txtPass1);

    std::string NewLogin;
    std::string NewPassword;

private:
    Dialogs& dialogs_;
};

} // namespace kv
