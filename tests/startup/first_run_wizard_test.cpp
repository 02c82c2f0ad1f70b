// The first-run wizard's rules, the login it takes, and its profile key.
#include "common/scripted_dialogs.h"
#include "startup/constant_time_equal.h"
#include "startup/create_login_dialog.h"
#include "startup/first_run_wizard.h"
#include "startup/key_filter.h"
#include "startup/startup_texts.h"
#include "startup_fakes.h"
#include "storage/secure_random.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>

namespace kv::test {
namespace {

// Counts up from a start byte: a predictable source that tells the key's randomness apart.
RandomFill CountingFrom(unsigned char start)
{
    return [start](std::span<unsigned char> buffer) mutable {
        for (unsigned char& byte : buffer)
            byte = start++;
    };
}

bool IsProfileKey(const std::string& key)
{
    return key.size() == 25 && std::all_of(key.begin(), key.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z');
           });
}

class Wizard : public testing::Test {
protected:
    void generateKey()
    {
        for (int x = 0; !wizard.tmrGData_Timer(x, 7); ++x) {
        }
    }

    ScriptedDialogs dialogs;
    FixedUserAccount user;
    FirstRunWizard wizard{dialogs, user, FillSecureRandom};
};

TEST_F(Wizard, FinishChecksThePathBeforeTheKey)
{
    EXPECT_FALSE(wizard.cmdFinish_Click("", 4, true));
    EXPECT_FALSE(wizard.cmdFinish_Click("Kestrelyn", 4, true)) << "a relative path is no storage path";
    EXPECT_FALSE(wizard.cmdFinish_Click("/home/alice/Kestrelyn", 4, true));
    EXPECT_EQ(dialogs.messages(), (std::vector<std::string>{"You must enter a profile storage path.",
                                                            "You must enter a profile storage path.",
                                                            "You must generate an encryption key."}));
    EXPECT_TRUE(wizard.results().incomplete());
}

TEST_F(Wizard, OwnLoginIsAskedOnlyForChoicesOneAndThree)
{
    user.documents = "/home/alice/Documents";
    EXPECT_EQ(wizard.defaultDirectory(), "/home/alice/Documents/Kestrelyn");
    generateKey();
    for (const int choice : {2, 4}) {
        ASSERT_TRUE(wizard.cmdFinish_Click("/p", choice, false));
        EXPECT_TRUE(dialogs.forms().empty());
        EXPECT_EQ(wizard.results().loginChoice, std::to_string(choice));
        EXPECT_EQ(wizard.results().login, "");
    }
    dialogs.onCreateLogin([](CreateLoginDialog& form) { form.cmdOK_Click("Bob", "pw", "pw"); });
    ASSERT_TRUE(wizard.cmdFinish_Click("/p", 3, true));
    const NewProfile& results = wizard.results();
    EXPECT_EQ(dialogs.forms(), std::vector<std::string>{"frmCreateLogin"});
    EXPECT_EQ(results.name, "alice");
    EXPECT_EQ(results.path, "/p");
    EXPECT_TRUE(IsProfileKey(results.key));
    EXPECT_EQ(results.loginChoice, "3");
    EXPECT_EQ(results.login, "Bob");
    EXPECT_EQ(results.password, "pw");
    EXPECT_TRUE(results.makeCategories);
}

TEST_F(Wizard, KeyWaitsForAThousandCharactersOfMovement)
{
    for (int tick = 0; tick < 500; ++tick)
        EXPECT_FALSE(wizard.tmrGData_Timer(640, 480)) << "a mouse that does not move adds nothing";
    EXPECT_EQ(wizard.progress(), 0) << "only the first position, \"640480\", was taken";
    int positions = 1;
    while (!wizard.tmrGData_Timer(1000 + positions, 2000)) {
        ++positions;
        EXPECT_EQ(wizard.progress(), (6 + 8 * (positions - 1)) / 10) << positions;
    }
    EXPECT_EQ(positions, 125) << "6 + 124 * 8 characters are still short of 1000";
    EXPECT_EQ(wizard.progress(), 100);
    EXPECT_TRUE(wizard.keyGenerated());
}

TEST_F(Wizard, BrowseReplacesThePathOnlyWhenAFolderIsChosen)
{
    dialogs.pickFolder(std::filesystem::path("/media/usb"));
    dialogs.pickFolder(std::nullopt);
    EXPECT_EQ(wizard.cmdBrowse_Click("/home/alice/Kestrelyn"), "/media/usb");
    EXPECT_EQ(wizard.cmdBrowse_Click("/media/usb"), "/media/usb");
    EXPECT_EQ(dialogs.prompts(), (std::vector<std::string>{"Select A Directory", "Select A Directory"}));
}

TEST(CreateLogin, ChecksMatchBeforeBlanks)
{
    ScriptedDialogs dialogs;
    CreateLoginDialog form(dialogs);
    EXPECT_FALSE(form.cmdOK_Click("", "a", "b"));
    EXPECT_FALSE(form.cmdOK_Click("", "a", "a"));
    EXPECT_FALSE(form.cmdOK_Click("bob", "", ""));
    EXPECT_EQ(form.NewLogin, "");
    EXPECT_TRUE(form.cmdOK_Click("bob", "a", "a"));
    EXPECT_EQ(dialogs.messages(),
              (std::vector<std::string>{"Your passwords do not match.", "A login or password is blank.",
                                        "A login or password is blank."}));
    EXPECT_EQ(form.NewLogin, "bob");
    EXPECT_EQ(form.NewPassword, "a");
}

TEST(KeyFilter, DirectoryBoxTakesItsCharactersInEitherCaseAndTheFolderSeparator)
{
    for (const char c : std::string("aZ09 !@#$%^&()_+=[];'.,-{}/"))
        EXPECT_EQ(FilterKeyPress(c, kDefaultDirKeys, true), c) << c;
    for (const char c : std::string(":\\*?\"<>|~`"))
        EXPECT_EQ(FilterKeyPress(c, kDefaultDirKeys, true), 0) << c;
    EXPECT_EQ(FilterKeyPress(kBackspaceKey, kDefaultDirKeys, true), kBackspaceKey);
    EXPECT_EQ(FilterKeyPress(kBackspaceKey, kDefaultDirKeys, false), 0);
    EXPECT_EQ(FilterKeyPress(0x2603, kDefaultDirKeys, true), 0);
}

TEST(ProfileKey, AlwaysTwentyFiveDigitsOrCapitals)
{
    const std::string mouse(1000, '7');
    std::set<char> seen;
    for (int i = 0; i < 400; ++i) {
        const std::string key = BuildProfileKey(mouse, FillSecureRandom);
        ASSERT_TRUE(IsProfileKey(key)) << key;
        seen.insert(key.begin(), key.end());
    }
    EXPECT_EQ(seen.size(), 36u) << "every digit and capital letter is drawn";
    EXPECT_TRUE(IsProfileKey(BuildProfileKey("", CountingFrom(0))));
}

TEST(ProfileKey, KnowingTheMouseTextDoesNotGiveTheKey)
{
    const std::string mouse = "12345678901234567890";
    EXPECT_NE(BuildProfileKey(mouse, FillSecureRandom), BuildProfileKey(mouse, FillSecureRandom));
    EXPECT_NE(BuildProfileKey(mouse, CountingFrom(0)), BuildProfileKey(mouse, CountingFrom(100)));
    EXPECT_EQ(BuildProfileKey(mouse, CountingFrom(0)), BuildProfileKey(mouse, CountingFrom(0)));
    EXPECT_NE(BuildProfileKey(mouse, CountingFrom(0)), BuildProfileKey(mouse + "1", CountingFrom(0)))
        << "the mouse text is mixed in";
}

TEST(ConstantTimeEqual, ComparesWholeTexts)
{
    EXPECT_TRUE(ConstantTimeEqual("Pa55word", "Pa55word"));
    EXPECT_TRUE(ConstantTimeEqual("", ""));
    EXPECT_FALSE(ConstantTimeEqual("Pa55word", "pa55word"));
    EXPECT_FALSE(ConstantTimeEqual("Pa55word", "Pa55wor"));
    EXPECT_FALSE(ConstantTimeEqual("Pa55wor", "Pa55word"));
    EXPECT_FALSE(ConstantTimeEqual(std::string("a\0b", 3), "a"));
    EXPECT_FALSE(ConstantTimeEqual("", "x"));
}

} // namespace
} // namespace kv::test
