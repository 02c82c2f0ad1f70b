#pragma once
// The logic of the two start-up login dialogs: frmLoginSB (the program's own login)
// and frmLoginWIN (the password of the account the program runs under). A form shows
// caption() with Text1 preset to initialLogin(), puts the focus on the password box
// when focusOnPassword(), and forwards its buttons here:
//   cmdYes_Click → Passed: close the dialog; ClearPassword: empty Text2; Stay: nothing.
//   cmdNo_Click  → the program ends (unless cancelEndsProgram is false); then close the dialog.
// Closing the dialog any other way leaves Passed false.
#include "platform/account_check.h"
#include "platform/user_account.h"
#include "startup/security_settings.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kv {

enum class LoginVerdict { Stay, ClearPassword, Passed };

class LoginDialog {
public:
    virtual ~LoginDialog() = default;

    virtual std::string_view caption() const = 0;
    virtual bool focusOnPassword() const = 0;
    // Reads what the dialog needs before it is shown; ends the program when a setting is missing.
    virtual void Form_Load() = 0;
    virtual LoginVerdict cmdYes_Click(const std::string& text1, const std::string& text2) = 0;
    void cmdNo_Click()
    {
        if (cancelEndsProgram)
            process_.endProgram();
    }

    const std::string& initialLogin() const { return initialLogin_; }

    bool Passed = false;
    std::int16_t AttemptsLeft = 0;
    // At start-up Cancel ends the program; when a locked program is shown again it only
    // keeps the program locked.
    bool cancelEndsProgram = true;

protected:
    LoginDialog(const SecuritySettings& settings, Dialogs& dialogs, Process& process)
        : settings_(settings), dialogs_(dialogs), process_(process)
    {
    }
    // After a refused login: a warning while attempts remain, the end on the last one.
    // A count of 0 or less never runs out.
    LoginVerdict attemptFailed();
    // Asks for the login or the password when its box is empty; true when both are filled.
    bool bothFilled(const std::string& text1, const std::string& text2, std::string_view enterPassword);

    const SecuritySettings& settings_;
    Dialogs& dialogs_;
    Process& process_;
    std::string initialLogin_;
};

// frmLoginSB: the login (any case) and the password (exact) stored in the profile.
class OwnLoginDialog : public LoginDialog {
public:
    OwnLoginDialog(const SecuritySettings& settings, Dialogs& dialogs, Process& process)
        : LoginDialog(settings, dialogs, process)
    {
    }
    std::string_view caption() const override;
    bool focusOnPassword() const override { return false; }
    void Form_Load() override;
    LoginVerdict cmdYes_Click(const std::string& text1, const std::string& text2) override;
};

// frmLoginWIN: an account name and its system password.
class AccountLoginDialog : public LoginDialog {
public:
    AccountLoginDialog(const SecuritySettings& settings, Dialogs& dialogs, Process& process,
                       AccountCheck& accounts, const UserAccount& user)
        : LoginDialog(settings, dialogs, process), accounts_(accounts), user_(user)
    {
    }
    std::string_view caption() const override;
    bool focusOnPassword() const override { return true; }
    void Form_Load() override;
    LoginVerdict cmdYes_Click(const std::string& text1, const std::string& text2) override;

private:
    AccountCheck& accounts_;
    const UserAccount& user_;
};

} // namespace kv
