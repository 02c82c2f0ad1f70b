// The Options area's rules against a real profile and registry: what a load shows, the
// interlocks, the save's order with its validation stops, and that the next start asks for
// exactly the login the panel saved.
#include "common/recording_launcher.h"
#include "mainwindow/options_panel.h"
#include "mainwindow/options_texts.h"
#include "start_up_world.h"
#include "startup/profile.h"
#include "startup/run_entry.h"
#include "storage/ini_values.h"
#include "storage/key_material.h"
#include "storage/secure_store.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

namespace fs = std::filesystem;

class RecordingHotkey : public HideShowHotkey {
public:
    bool available = true;
    std::vector<std::string> calls;
    bool registerHideShow(std::string_view hold, std::string_view press) override
    {
        calls.push_back("register " + std::string(hold) + " + " + std::string(press));
        return available;
    }
    void unregisterHideShow() override { calls.emplace_back("unregister"); }
};

// A profile made by a first start with the given login choice, and the panel over it.
class Options : public testing::Test {
protected:
    void makeProfile(int choice)
    {
        world.scriptFirstRun(choice);
        if (choice == 2 || choice == 3)
            world.scriptLogin("alice", "account password");
        if (choice == 1 || choice == 3)
            world.scriptLogin("Bob", "S3cret");
        ASSERT_TRUE(world.start());
        world.shortcuts.calls.clear();
        panel.load(state, [this] { cleanupLoaded = true; });
    }
    std::string fileBytes() const { return FileBytes(world.settingsFile()); }
    std::string option(std::string_view key) const
    {
        return ReadIniValue("Options", key, world.settingsFile());
    }
    std::string security(std::string_view key, bool machineKey = false) const
    {
        const std::string stored = ReadIniValue("Security", key, world.settingsFile());
        const CipherKeys& keys = CurrentCipherKeys();
        return stored.empty()
                   ? ""
                   : DecryptValue(stored, machineKey ? keys.machineKey : keys.valueKey).value_or("?");
    }

    StartUpWorld world;
    RecordingLauncher launcher;
    RecordingHotkey hotkey;
    std::vector<fs::path> appliedSkins;
    OptionsPanel panel{{world.settingsFile(), fs::path("/usr/share/kv"), "/usr/bin/kestrelyn-vormaplex",
                        world.dialogs, world.process, world.registry, world.shortcuts, launcher,
                        [this](const Skin& skin) {
                            appliedSkins.push_back(skin.styleSheet);
                            return true;
                        },
                        &hotkey}};
    OptionsState state;
    bool cleanupLoaded = false;
};

TEST_F(Options, ANewProfileLoadsItsDefaultsAndTheOwnLogin)
{
    makeProfile(3);
    EXPECT_TRUE(cleanupLoaded);
    EXPECT_TRUE(state.chkSecure);
    EXPECT_TRUE(state.Frame3Enabled);
    EXPECT_EQ(state.Option2, 2);
    EXPECT_TRUE(state.fraSecureEnabled);
    EXPECT_EQ(state.txtLogin, "Bob");
    EXPECT_EQ(state.txtPass, "S3cret");
    EXPECT_EQ(state.txtPass1, "S3cret");
    EXPECT_EQ(state.txtloginnum, "3");
    EXPECT_TRUE(state.chkexitprompt);
    EXPECT_TRUE(state.chkMaxIE);
    EXPECT_FALSE(state.chkMinIE);
    EXPECT_FALSE(state.chkHotkey);
    EXPECT_FALSE(state.hotkeyCombosEnabled);
    EXPECT_EQ(state.cmbHoldKey, "Control");
    EXPECT_EQ(state.cmbPressKey, "Up");
    // A new profile has no SKIN yet: "0" is written and no skin option is chosen.
    EXPECT_EQ(option("SKIN"), "0");
    EXPECT_EQ(state.optSkins, kNoOption);
    EXPECT_TRUE(appliedSkins.empty());
}

TEST_F(Options, TheOperatingSystemLoginShowsNoOwnLoginAndSecurityOffShowsNone)
{
    makeProfile(2);
    EXPECT_EQ(state.Option2, 0);
    EXPECT_FALSE(state.fraSecureEnabled);
    EXPECT_EQ(state.txtLogin, "");

    OptionsState other;
    WriteEncryptedValue("Security", "SECURITY ENABLED", "0", CurrentCipherKeys().valueKey,
                        world.settingsFile());
    panel.load(other);
    EXPECT_FALSE(other.chkSecure);
    EXPECT_EQ(other.Option2, kNoOption);
}

TEST_F(Options, AProtectedProfileWithoutALoginChoiceEndsTheProgramAsTheStartDoes)
{
    makeProfile(1);
    WriteIniValue("Security", "LOGIN CHOICE", std::nullopt, world.settingsFile());
    OptionsState fresh;
    EXPECT_THROW(panel.load(fresh), ProgramEnded);
}

TEST_F(Options, OptionValuesThatAreNoNumbersLoadAsOff)
{
    makeProfile(4);
    WriteIniValue("Options", "EXITWARNING", "yes", world.settingsFile());
    WriteIniValue("Options", "MAXIE", "", world.settingsFile());
    WriteIniValue("Options", "HOTKEYON", "on", world.settingsFile());
    WriteIniValue("Options", "SKIN", "nine", world.settingsFile());
    OptionsState fresh;
    panel.load(fresh);
    EXPECT_FALSE(fresh.chkexitprompt);
    EXPECT_FALSE(fresh.chkMaxIE);
    EXPECT_FALSE(fresh.chkHotkey);
    EXPECT_EQ(fresh.optSkins, kNoOption);
    EXPECT_TRUE(appliedSkins.empty());
}

TEST_F(Options, HandlersKeepTheirInterlocks)
{
    makeProfile(1);
    state.chkSecure = false;
    panel.chkSecure_Click(state);
    EXPECT_EQ(state.Option2, kNoOption);
    EXPECT_FALSE(state.Frame3Enabled);
    EXPECT_FALSE(state.fraSecureEnabled);
    EXPECT_EQ(state.txtLogin + state.txtPass + state.txtPass1, "");
    state.chkSecure = true;
    panel.chkSecure_Click(state);
    EXPECT_EQ(state.Option2, 0);
    panel.Option2_Click(state, 1);
    EXPECT_TRUE(state.fraSecureEnabled);

    state.chkMinIE = true;
    panel.chkMinIE_Click(state);
    EXPECT_FALSE(state.chkMaxIE);
    state.chkMaxIE = true;
    panel.chkMaxIE_Click(state);
    EXPECT_FALSE(state.chkMinIE);
    state.chkHotkey = true;
    panel.chkHotkey_Click(state);
    EXPECT_TRUE(state.hotkeyCombosEnabled);
}

TEST_F(Options, BothWithADifferentConfirmationWritesNothing)
{
    makeProfile(1);
    const std::string before = fileBytes();
    panel.Option2_Click(state, 2);
    state.txtLogin = "Carol";
    state.txtPass = "one";
    state.txtPass1 = "two";
    state.txtloginnum = "3";
    EXPECT_FALSE(panel.save(state, [] { FAIL() << "nothing after the login may be written"; }));
    EXPECT_EQ(world.dialogs.messages(),
              std::vector<std::string>{"Your passwords do not match please correct."});
    EXPECT_EQ(fileBytes(), before);
    EXPECT_FALSE(state.lblOptionsSaved);
}

TEST_F(Options, OperatingSystemWithoutACountWritesTheMethodThenStops)
{
    makeProfile(1);
    panel.Option2_Click(state, 0);
    state.txtloginnum = "";
    state.chkexitprompt = false;
    EXPECT_FALSE(panel.save(state));
    EXPECT_EQ(world.dialogs.messages(), std::vector<std::string>{"You must input a number between 1 and 9"});
    EXPECT_EQ(security("SECURITY ENABLED"), "1");
    EXPECT_EQ(security("LOGIN CHOICE", true), "2");
    EXPECT_EQ(security("LOGIN COUNT"), "3");
    EXPECT_EQ(option("EXITWARNING"), "1") << "nothing after the count is written";
}

TEST_F(Options, CountsOutsideOneToNineAreRefused)
{
    makeProfile(4);
    for (const char* count : {"0", "10", "-3", "1.5", "x", " "}) {
        state.txtloginnum = count;
        EXPECT_FALSE(panel.save(state)) << count;
    }
    EXPECT_EQ(world.dialogs.messages().size(), 6u);
    EXPECT_EQ(security("LOGIN COUNT"), "3");
    state.txtloginnum = " 7 ";
    EXPECT_TRUE(panel.save(state));
    EXPECT_EQ(security("LOGIN COUNT"), "7");
}

TEST_F(Options, ClearingSecurityKeepsTheStoredLogin)
{
    makeProfile(1);
    state.chkSecure = false;
    panel.chkSecure_Click(state);
    state.txtloginnum = "3";
    ASSERT_TRUE(panel.save(state));
    EXPECT_EQ(security("SECURITY ENABLED"), "0");
    EXPECT_EQ(security("LOGIN COUNT"), "3");
    EXPECT_EQ(security("LOGIN"), "Bob");
    EXPECT_EQ(security("PASS"), "S3cret");
    EXPECT_EQ(security("LOGIN CHOICE", true), "1");
}

TEST_F(Options, SaveWritesEveryStoreInItsOrder)
{
    makeProfile(4);
    state.chkBHO = true;
    state.chkStartupRun = true;
    state.chkQuickLaunch = true;
    state.chkHotkey = true;
    state.cmbHoldKey = "Alt";
    state.cmbPressKey = "Home";
    state.chkMaxIE = false;
    state.chkMinIE = true;
    state.chkexitprompt = false;
    bool cleanupSaved = false;
    ASSERT_TRUE(panel.save(state, [&] { cleanupSaved = true; }));
    EXPECT_TRUE(cleanupSaved);
    EXPECT_TRUE(state.lblOptionsSaved);
    EXPECT_EQ(world.shortcuts.calls,
              (std::vector<std::string>{"addToolbarButton", "createQuickLaunchShortcut"}));
    EXPECT_EQ(world.registry.ReadString(std::string(kRunKey), std::string(kRunValue), ""),
              "/usr/bin/kestrelyn-vormaplex");
    EXPECT_TRUE(fs::exists(world.autostartFile()));
    EXPECT_EQ(hotkey.calls, (std::vector<std::string>{"unregister", "register Alt + Home"}));
    EXPECT_EQ(option("HOTKEYON"), "1");
    EXPECT_EQ(option("HOLDKEY"), "Alt");
    EXPECT_EQ(option("PRESSKEY"), "Home");
    EXPECT_EQ(option("MAXIE"), "0");
    EXPECT_EQ(option("MINIE"), "1");
    EXPECT_EQ(option("EXITWARNING"), "0");
    EXPECT_TRUE(world.dialogs.messages().empty());

    world.shortcuts.calls.clear();
    world.shortcuts.quickLaunch = true;
    state.chkBHO = state.chkStartupRun = state.chkQuickLaunch = state.chkHotkey = false;
    ASSERT_TRUE(panel.save(state));
    EXPECT_EQ(world.shortcuts.calls,
              (std::vector<std::string>{"removeToolbarButton", "deleteQuickLaunchShortcut"}));
    EXPECT_FALSE(fs::exists(world.autostartFile()));
    EXPECT_EQ(hotkey.calls.back(), "unregister");
    EXPECT_EQ(option("HOTKEYON"), "0");
}

TEST_F(Options, AHideShowKeyThatIsTakenIsReportedAndStillStored)
{
    makeProfile(4);
    hotkey.available = false;
    state.chkHotkey = true;
    ASSERT_TRUE(panel.save(state));
    EXPECT_EQ(world.dialogs.messages(),
              std::vector<std::string>{
                  "Can not register Control + Up Try other keys this key is already registered "
                  "by some other running applications."});
    EXPECT_EQ(option("HOTKEYON"), "1");
    EXPECT_TRUE(state.lblOptionsSaved);
}

TEST_F(Options, SkinsApplyAtOnceAndCustomWaitsForItsFile)
{
    makeProfile(4);
    panel.optSkins_Click(state, 2);
    EXPECT_EQ(appliedSkins, std::vector<fs::path>{"/usr/share/kv/skins/royal.qss"});
    EXPECT_EQ(option("SKIN"), "2");
    EXPECT_FALSE(state.skinButtonsVisible);
    panel.optSkins_Click(state, 4);
    EXPECT_EQ(appliedSkins.size(), 1u);
    EXPECT_EQ(option("SKIN"), "4");
    EXPECT_TRUE(state.skinButtonsVisible);
    panel.cmdBrowseSkin_Click(std::nullopt);
    EXPECT_EQ(option("SKINCUSTOM"), "");
    panel.cmdBrowseSkin_Click(fs::path("/home/alice/mine.qss"));
    EXPECT_EQ(option("SKINCUSTOM"), "/home/alice/mine.qss");
    EXPECT_EQ(appliedSkins.back(), "/home/alice/mine.qss");
    panel.cmdLaunchSkinSite_Click();
    EXPECT_EQ(launcher.opened, std::vector<std::string>{"https://www.kestrelyn.example/skins.asp"});

    // An opening with the stored skin not yet chosen applies it once.
    WriteIniValue("Options", "SKIN", "1", world.settingsFile());
    appliedSkins.clear();
    OptionsState fresh;
    panel.load(fresh);
    EXPECT_EQ(fresh.optSkins, 1);
    panel.load(fresh);
    EXPECT_EQ(appliedSkins, std::vector<fs::path>{"/usr/share/kv/skins/windows_xp.qss"});
}

// The login the panel saves is the one the next start asks for.
TEST_F(Options, TheNextStartAsksForTheLoginSavedHere)
{
    makeProfile(4);
    state.chkSecure = true;
    panel.chkSecure_Click(state);
    panel.Option2_Click(state, 1);
    state.txtLogin = "Carol";
    state.txtPass = state.txtPass1 = "n3w pass";
    state.txtloginnum = "2";
    ASSERT_TRUE(panel.save(state));

    const auto restart = [this] {
        SetCipherKeys({});
        SetCurrentProfile({});
        return world.start();
    };
    world.loginCaptions.clear();
    world.scriptLogin("CAROL", "n3w pass");
    EXPECT_TRUE(restart());
    EXPECT_EQ(world.loginCaptions, std::vector<std::string>{"Authenticate Kestrelyn User"});

    // The saved count: two attempts, so one wrong password leaves one.
    world.scriptLogin("Carol", "S3cret");
    EXPECT_FALSE(restart());
    EXPECT_EQ(world.dialogs.messages(), std::vector<std::string>{"TRY AGAIN YOU HAVE 1 TIMES LEFT"});
}

} // namespace
} // namespace kv::test
