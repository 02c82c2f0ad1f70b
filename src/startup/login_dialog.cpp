#include "startup/login_dialog.h"

#include "startup/constant_time_equal.h"
#include "startup/profile_settings.h"
#include "startup/startup_texts.h"
#include "storage/ini_values.h"
#include "storage/key_material.h"
#include "support/ascii_text.h"

#include <algorithm>
#include <cctype>

namespace kv {

LoginVerdict LoginDialog::attemptFailed()
{
    const bool lastAttempt = AttemptsLeft == 1;
    LoginVerdict verdict = LoginVerdict::Stay;
    if (AttemptsLeft > 1) {
        dialogs_.message(std::string(kTryAgainStart) + std::to_string(AttemptsLeft - 1) +
                             std::string(kTryAgainEnd),
                         kAccessDenied);
        verdict = LoginVerdict::ClearPassword;
    }
    if (AttemptsLeft > INT16_MIN)
        --AttemptsLeft;
    if (lastAttempt)
        process_.endProgram();
    return verdict;
}

bool LoginDialog::bothFilled(const std::string& text1, const std::string& text2,
                             std::string_view enterPassword)
{
    if (text1.empty())
        dialogs_.message(kEnterLogin);
    else if (text2.empty())
        dialogs_.message(enterPassword);
    return !text1.empty() && !text2.empty();
}

std::string_view OwnLoginDialog::caption() const
{
    return kOwnLoginCaption;
}

void OwnLoginDialog::Form_Load()
{
    initialLogin_ = settings_.read(LOGIN, CurrentCipherKeys().valueKey);
    if (initialLogin_.empty())
        process_.endProgram();
    AttemptsLeft = settings_.loginCount();
}

LoginVerdict OwnLoginDialog::cmdYes_Click(const std::string& text1, const std::string& text2)
{
    if (!bothFilled(text1, text2, kEnterPassword))
        return LoginVerdict::Stay;
    const std::string& valueKey = CurrentCipherKeys().valueKey;
    const std::string login = settings_.read(LOGIN, valueKey);
    const std::string password = settings_.read(PASS, valueKey);
    if (login.empty() || password.empty())
        process_.endProgram();
    // Both comparisons always run, so the time taken does not tell which one failed.
    const bool loginMatches = EqualsIgnoringCase(text1, login);
    const bool passwordMatches = ConstantTimeEqual(text2, password);
    if (loginMatches && passwordMatches) {
        Passed = true;
        return LoginVerdict::Passed;
    }
    return attemptFailed();
}

std::string_view AccountLoginDialog::caption() const
{
    return kAccountLoginCaption;
}

void AccountLoginDialog::Form_Load()
{
    initialLogin_ = user_.name();
    AttemptsLeft = settings_.loginCount();
}

LoginVerdict AccountLoginDialog::cmdYes_Click(const std::string& text1, const std::string& text2)
{
    if (!bothFilled(text1, text2, kEnterAccountPassword))
        return LoginVerdict::Stay;
    switch (accounts_.passwordMatches(text1, text2)) {
    case AccountCheckResult::Match:
        Passed = true;
        return LoginVerdict::Passed;
    case AccountCheckResult::NoMatch:
        return attemptFailed();
    case AccountCheckResult::Failure:
        break;
    }
    dialogs_.message(kLogonFailed);
    return LoginVerdict::Stay;
}

} // namespace kv
