// Program access control: which dialogs appear, how logins are compared, the attempt rule.
#include "start_up_world.h"

#include "startup/access_control.h"
#include "startup/create_profile.h"
#include "startup/profile.h"
#include "storage/hex_text.h"
#include "storage/ini_values.h"
#include "storage/key_material.h"
#include "storage/secure_store.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

namespace fs = std::filesystem;

class AccessControl : public testing::Test {
protected:
    // A profile of the given login choice whose own login is "MixedCase" / "Pa55word".
    void makeProfile(const std::string& choice)
    {
        const std::string profileKey = "0123456789ABCDEFGHIJKLMNO";
        CreateProfile({"alice", temp.path().string(), profileKey, choice, "MixedCase", "Pa55word", false},
                      machine.serial, shortcuts);
        const std::string part = VolumeSerialPart(machine.serial);
        SetCipherKeys({MachineKey(part), ValueKey(part, profileKey)});
    }
    void setSecure(std::string_view key, std::string_view value)
    {
        WriteSecureValue(kSecuritySection, key, value, file());
    }
    void setLoginChoice(std::string_view value)
    {
        WriteIniValue(kSecuritySection, LOGIN_CHOICE,
                      HexEncode(EncryptValue(value, CurrentCipherKeys().machineKey), " "), file());
    }
    bool run()
    {
        try {
            RunAccessControl(file(), dialogs, process, accounts, user);
            return true;
        } catch (const ProgramEnded&) {
            return false;
        }
    }
    // Types each pair into the next login dialog in turn, stopping when one passes.
    void scriptAttempts(std::vector<std::pair<std::string, std::string>> attempts)
    {
        dialogs.onLogin([this, attempts](LoginDialog& dialog) {
            captions.emplace_back(dialog.caption());
            for (const auto& [login, password] : attempts)
                if (dialog.cmdYes_Click(login, password) == LoginVerdict::Passed)
                    return;
        });
    }
    fs::path file() const { return temp / "alice.ini"; }

    TempDir temp;
    ScriptedDialogs dialogs;
    EndingProcess process;
    FixedAccountCheck accounts;
    FixedUserAccount user;
    FixedMachineIdentity machine;
    RecordingShortcuts shortcuts;
    std::vector<std::string> captions;
};

TEST_F(AccessControl, OwnLoginIgnoresCaseOfTheLoginButNotOfThePassword)
{
    makeProfile("1");
    scriptAttempts({{"mixedcase", "pa55word"}, {"MIXEDCASE", "Pa55word"}});
    EXPECT_TRUE(run());
    EXPECT_EQ(captions, std::vector<std::string>{"Authenticate Kestrelyn User"});
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"TRY AGAIN YOU HAVE 2 TIMES LEFT"});
}

TEST_F(AccessControl, ThreeAttemptsWarnTwiceThenEndWithoutAMessage)
{
    makeProfile("1");
    const SecuritySettings settings(file(), dialogs, process);
    OwnLoginDialog dialog(settings, dialogs, process);
    dialog.Form_Load();
    EXPECT_EQ(dialog.initialLogin(), "MixedCase");
    EXPECT_EQ(dialog.AttemptsLeft, 3);

    EXPECT_EQ(dialog.cmdYes_Click("MixedCase", "wrong"), LoginVerdict::ClearPassword);
    EXPECT_EQ(dialog.cmdYes_Click("MixedCase", "wrong"), LoginVerdict::ClearPassword);
    EXPECT_THROW(dialog.cmdYes_Click("MixedCase", "wrong"), ProgramEnded);

    EXPECT_EQ(dialogs.messages(), (std::vector<std::string>{"TRY AGAIN YOU HAVE 2 TIMES LEFT",
                                                            "TRY AGAIN YOU HAVE 1 TIMES LEFT"}));
    EXPECT_EQ(dialogs.titles(), (std::vector<std::string>{"Access Denied!", "Access Denied!"}));
    EXPECT_FALSE(dialog.Passed);
}

TEST_F(AccessControl, LoginCountOneEndsAtTheFirstWrongAttemptAndZeroNeverRunsOut)
{
    makeProfile("1");
    const SecuritySettings settings(file(), dialogs, process);

    setSecure(LOGIN_COUNT, "1");
    OwnLoginDialog once(settings, dialogs, process);
    once.Form_Load();
    EXPECT_THROW(once.cmdYes_Click("MixedCase", "wrong"), ProgramEnded);
    EXPECT_TRUE(dialogs.messages().empty());

    for (const std::string count : {"0", "-2"}) {
        setSecure(LOGIN_COUNT, count);
        OwnLoginDialog unlimited(settings, dialogs, process);
        unlimited.Form_Load();
        for (int attempt = 0; attempt < 10; ++attempt)
            EXPECT_EQ(unlimited.cmdYes_Click("MixedCase", "wrong"), LoginVerdict::Stay) << count;
        EXPECT_EQ(unlimited.cmdYes_Click("MixedCase", "Pa55word"), LoginVerdict::Passed) << count;
        EXPECT_TRUE(dialogs.messages().empty()) << count;
    }
}

TEST_F(AccessControl, EmptyBoxesAreRefusedWithoutCostingAnAttempt)
{
    makeProfile("3");
    const SecuritySettings settings(file(), dialogs, process);
    OwnLoginDialog own(settings, dialogs, process);
    own.Form_Load();
    AccountLoginDialog account(settings, dialogs, process, accounts, user);
    account.Form_Load();

    EXPECT_EQ(own.cmdYes_Click("", "x"), LoginVerdict::Stay);
    EXPECT_EQ(own.cmdYes_Click("x", ""), LoginVerdict::Stay);
    EXPECT_EQ(account.cmdYes_Click("", "x"), LoginVerdict::Stay);
    EXPECT_EQ(account.cmdYes_Click("alice", ""), LoginVerdict::Stay);

    EXPECT_EQ(dialogs.messages(),
              (std::vector<std::string>{
                  "You must enter a login.", "You must enter a password.", "You must enter a login.",
                  "You must enter a password.  If your Linux account does not have a "
                  "password you will not be able to login until you have a password."}));
    EXPECT_EQ(own.AttemptsLeft, 3);
    EXPECT_EQ(account.AttemptsLeft, 3);
    EXPECT_TRUE(accounts.asked.empty());
}

TEST_F(AccessControl, AccountLoginOffersTheAccountNameAndReportsAFailedCheckWithoutCounting)
{
    makeProfile("2");
    const SecuritySettings settings(file(), dialogs, process);
    AccountLoginDialog dialog(settings, dialogs, process, accounts, user);
    dialog.Form_Load();
    EXPECT_EQ(dialog.initialLogin(), "alice");
    EXPECT_TRUE(dialog.focusOnPassword());

    accounts.answer = AccountCheckResult::Failure;
    EXPECT_EQ(dialog.cmdYes_Click("alice", "secret"), LoginVerdict::Stay);
    EXPECT_EQ(dialog.AttemptsLeft, 3);
    accounts.answer = AccountCheckResult::NoMatch;
    EXPECT_EQ(dialog.cmdYes_Click("alice", "secret"), LoginVerdict::ClearPassword);
    accounts.answer = AccountCheckResult::Match;
    EXPECT_EQ(dialog.cmdYes_Click("alice", "secret"), LoginVerdict::Passed);

    EXPECT_EQ(dialogs.messages(),
              (std::vector<std::string>{"Logon Failed", "TRY AGAIN YOU HAVE 2 TIMES LEFT"}));
    EXPECT_EQ(accounts.asked.back(), (std::pair<std::string, std::string>{"alice", "secret"}));
    EXPECT_TRUE(dialog.Passed);
}

TEST_F(AccessControl, ChoiceThreeAsksTheAccountFirstAndEndsWhenTheOwnLoginFails)
{
    makeProfile("3");
    scriptAttempts({{"alice", "account"}});
    scriptAttempts({{"MixedCase", "a"}, {"MixedCase", "b"}, {"MixedCase", "c"}});
    EXPECT_FALSE(run());
    EXPECT_EQ(captions, (std::vector<std::string>{"Authenticate Linux User", "Authenticate Kestrelyn User"}));
    EXPECT_EQ(accounts.asked.size(), 1u);
}

TEST_F(AccessControl, DisabledSecurityAsksNothingWhateverTheChoice)
{
    makeProfile("1");
    setSecure(SECURITY_ENABLED, "0");
    EXPECT_TRUE(run());
    EXPECT_TRUE(dialogs.forms().empty());
}

TEST_F(AccessControl, UnknownChoiceOrUnfitSettingsEndTheProgram)
{
    makeProfile("1");
    setLoginChoice("7");
    EXPECT_FALSE(run());
    EXPECT_TRUE(dialogs.forms().empty());

    setLoginChoice("1");
    for (const std::string count : {"abc", "40000", "3x"}) {
        setSecure(LOGIN_COUNT, count);
        EXPECT_FALSE(run()) << count;
    }
    WriteIniValue(kSecuritySection, LOGIN_COUNT, std::nullopt, file());
    EXPECT_FALSE(run());
    EXPECT_TRUE(dialogs.forms().empty()) << "the dialog is not shown when it cannot load";
}

TEST_F(AccessControl, MissingOwnLoginEndsBeforeTheDialogShows)
{
    makeProfile("1");
    WriteIniValue(kSecuritySection, LOGIN, std::nullopt, file());
    EXPECT_FALSE(run());
    EXPECT_TRUE(dialogs.forms().empty());
}

TEST_F(AccessControl, ClosingOrCancellingTheDialogEndsTheProgram)
{
    makeProfile("2");
    dialogs.onLogin([](LoginDialog&) {});
    EXPECT_FALSE(run());

    dialogs.onLogin([](LoginDialog& dialog) { dialog.cmdNo_Click(); });
    EXPECT_FALSE(run());
    EXPECT_TRUE(accounts.asked.empty());
}

} // namespace
} // namespace kv::test
