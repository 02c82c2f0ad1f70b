#include "hotkeys/hotkey_registration.h"

#include "browser/browser_test_support.h"
#include "common/scripted_dialogs.h"
#include "recording_global_hotkeys.h"
#include "storage/ini_values.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

constexpr unsigned kCtrl = kHotkeyModControl;

class HotkeyRegistrationTest : public ::testing::Test {
protected:
    void option(std::string_view key, std::string_view value)
    {
        WriteIniValue("Options", key, value, profile.file());
    }
    void hideShow(std::string_view hold, std::string_view press)
    {
        option("HOTKEYON", "1");
        option("HOLDKEY", hold);
        option("PRESSKEY", press);
    }
    void siteList(int n, std::string_view first)
    {
        WriteIniValue("Hotkey" + std::to_string(n), "HOTKEYNUMBER1", first, profile.file());
    }

    TestProfile profile;
    ScriptedDialogs dialogs;
    RecordingGlobalHotkeys desktop;
    HotkeyRegistration registration{desktop, dialogs, profile.file()};
};

TEST_F(HotkeyRegistrationTest, AProfileWithoutHotkeysRegistersNothingAndSaysNothing)
{
    option("HOTKEYON", "0");
    option("HOLDKEY", "Control");
    option("PRESSKEY", "Up");
    WriteIniValue("Hotkey2", "HOTKEYNUMBER1", "", profile.file());
    WriteIniValue("Hotkey2", "HOTKEYNUMBER2", "Mail", profile.file());

    registration.RegisterHotkeys();

    EXPECT_TRUE(desktop.calls.empty());
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(HotkeyRegistrationTest, RegistersTheHideShowKeyAndEachConfiguredSiteHotkeyInIdOrder)
{
    hideShow("Control", "Up");
    siteList(10, "Bank");
    siteList(3, "Mail");

    registration.RegisterHotkeys();

    EXPECT_EQ(desktop.calls, (std::vector<std::string>{"register 0", "register 3", "register 10"}));
    EXPECT_EQ(desktop.held,
              (std::map<int, Combination>{{0, {kCtrl, 38}}, {3, {kCtrl, 114}}, {10, {kCtrl, 121}}}));
    EXPECT_TRUE(registration.registered(3));
    EXPECT_FALSE(registration.registered(4));
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(HotkeyRegistrationTest, ACombinationHeldElsewhereIsReportedOnceAndNeverReleased)
{
    siteList(3, "Mail");
    siteList(4, "Bank");
    desktop.heldElsewhere.insert({kCtrl, 115});

    registration.RegisterHotkeys();
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"Could not register CTRL-F4"});
    EXPECT_EQ(dialogs.titles(), std::vector<std::string>{"Key Combo Unavailable"});
    EXPECT_FALSE(registration.registered(4));

    desktop.calls.clear();
    registration.UnregisterHotkeys();
    EXPECT_EQ(desktop.calls, std::vector<std::string>{"unregister 3"});
    // Released ids are not released again.
    registration.UnregisterHotkeys();
    EXPECT_EQ(desktop.calls, std::vector<std::string>{"unregister 3"});
}

// The message says "CTRL-" whatever the modifier, and names the key as the profile does.
TEST_F(HotkeyRegistrationTest, AFailedHideShowKeyIsNamedAfterItsKeyWhateverTheModifier)
{
    hideShow("Alt", "Up");
    desktop.heldElsewhere.insert({kHotkeyModAlt, 38});

    registration.RegisterHotkeys();

    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"Could not register CTRL-Up"});
    EXPECT_TRUE(desktop.held.empty());
}

TEST_F(HotkeyRegistrationTest, UnknownNamesGiveNoModifierOrAKeyThatCannotBeRegistered)
{
    hideShow("Hyper", "Pageup");
    registration.RegisterHotkeys();
    EXPECT_EQ(desktop.held, (std::map<int, Combination>{{0, {0, 33}}}));

    registration.UnregisterHotkeys();
    hideShow("Control", "up");
    registration.RegisterHotkeys();
    EXPECT_TRUE(desktop.held.empty());
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"Could not register CTRL-up"});
}

TEST_F(HotkeyRegistrationTest, PressesReachTheHandlerOnlyWhileTheirIdIsHeld)
{
    siteList(3, "Mail");
    std::vector<int> pressed;
    registration.setPressedHandler([&](int id) { pressed.push_back(id); });
    registration.RegisterHotkeys();

    desktop.press(3);
    registration.HotkeyPressed(7); // never registered
    registration.UnregisterHotkeys();
    registration.HotkeyPressed(3);

    EXPECT_EQ(pressed, std::vector<int>{3});
}

// A desktop service that accepts first and refuses later gets the same message, once.
TEST_F(HotkeyRegistrationTest, ARefusalAfterAcceptanceIsReportedOnceAndReleasesTheId)
{
    hideShow("Shift", "Home");
    siteList(2, "Mail");
    registration.RegisterHotkeys();

    desktop.refuseLater(0);
    desktop.refuseLater(2);
    desktop.refuseLater(2);

    EXPECT_EQ(dialogs.messages(),
              (std::vector<std::string>{"Could not register CTRL-Home", "Could not register CTRL-F2"}));
    EXPECT_FALSE(registration.registered(0));
    EXPECT_FALSE(registration.registered(2));
}

// What the options panel does when the user changes the hide/show combination.
TEST_F(HotkeyRegistrationTest, ChangingTheHideShowKeyReleasesTheOldCombinationFirst)
{
    hideShow("Control", "Up");
    registration.RegisterHotkeys();
    desktop.calls.clear();

    EXPECT_TRUE(registration.registerHideShow("Alt", "H"));
    EXPECT_EQ(desktop.calls, (std::vector<std::string>{"unregister 0", "register 0"}));
    EXPECT_EQ(desktop.held, (std::map<int, Combination>{{0, {kHotkeyModAlt, 72}}}));

    desktop.heldElsewhere.insert({kCtrl, 40});
    EXPECT_FALSE(registration.registerHideShow("Control", "Down"));
    EXPECT_FALSE(registration.registered(0));
    registration.unregisterHideShow();
    EXPECT_TRUE(desktop.held.empty());
    EXPECT_TRUE(dialogs.messages().empty());
}

} // namespace
} // namespace kv::test
