#pragma once
// The logic of frmWizard, which gathers a new profile on the first start. The form
// shows its five steps and forwards to it:
//   load            → txtDefaultDir = defaultDirectory(), Option1(1) selected, chkMakeCategories checked
//   txtDefaultDir   → each typed key through FilterKeyPress(key, kDefaultDirKeys, true)
//   cmdBrowse       → txtDefaultDir = cmdBrowse_Click(txtDefaultDir)
//   cmdGenerateKey  → the form shows its progress bar and label and starts tmrGData (10 ms)
//   tmrGData        → tmrGData_Timer(cursor x, y); progress() for the bar; on true stop the
//                     timer, show kKeyGenerated and enable cmdNext3
//   cmdFinish       → when cmdFinish_Click(...) answers true the wizard closes
// Closing the wizard any other way leaves results() incomplete.
#include "platform/user_account.h"
#include "startup/new_profile.h"
#include "startup/profile_key.h"
#include "support/dialogs.h"

#include <string>

namespace kv {

class FirstRunWizard {
public:
    // random: the profile key's randomness (FillSecureRandom outside tests).
    FirstRunWizard(Dialogs& dialogs, const UserAccount& user, RandomFill random);

    std::string defaultDirectory() const;
    std::string cmdBrowse_Click(const std::string& txtDefaultDir);
    bool tmrGData_Timer(int cursorX, int cursorY);
    int progress() const { return mouse_.progress(); }
    // Without the form there is no mouse to follow: the key is the system's randomness alone,
    // which is all its strength rests on anyway.
    void generateKeyWithoutMouse() { key_ = BuildProfileKey({}, random_); }
    bool keyGenerated() const { return !key_.empty(); }
    // option: the selected Option1 index (a login choice, 1 to 4).
    bool cmdFinish_Click(const std::string& txtDefaultDir, int option, bool chkMakeCategories);

    const NewProfile& results() const { return results_; }

private:
    Dialogs& dialogs_;
    const UserAccount& user_;
    RandomFill random_;
    MouseEntropy mouse_;
    std::string key_;
    NewProfile results_;
};

} // namespace kv
