#include "hotkeys/hotkey_lists.h"

#include "browser/browser_test_support.h"
#include "common/scripted_dialogs.h"
#include "hotkeys/hotkey_registration.h"
#include "recording_global_hotkeys.h"
#include "storage/ini_values.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

using Names = std::vector<std::string>;

class HotkeyListsTest : public ::testing::Test {
protected:
    void site(const std::string& relative)
    {
        profile.site(relative + ".QVR", {{SITEURL, "https://a.example/"}});
    }
    void entry(int hotkey, int i, std::string_view name)
    {
        WriteIniValue("Hotkey" + std::to_string(hotkey), "HOTKEYNUMBER" + std::to_string(i), name,
                      profile.file());
    }
    std::string stored(int hotkey, std::string_view key) const
    {
        return ReadIniValue("Hotkey" + std::to_string(hotkey), key, profile.file());
    }

    TestProfile profile;
    ScriptedDialogs dialogs;
    RecordingGlobalHotkeys desktop;
    HotkeyRegistration registration{desktop, dialogs, profile.file()};
    HotkeyLists lists{profile.root(), profile.file(), dialogs, [this] {
                          registration.UnregisterHotkeys();
                          registration.RegisterHotkeys();
                      }};
};

TEST_F(HotkeyListsTest, LoadingOffersEverySiteOfTheTreeThatIsNotInTheList)
{
    site("Mail");
    site("Work/Wiki");
    site("Work/Deep/Bank");
    entry(4, 1, "  Bank ");
    entry(4, 3, "Gone");
    WriteIniValue("Hotkey4", "HOTKEYLOCK", "1", profile.file());

    lists.LoadHotkeyLists(4);

    EXPECT_EQ(lists.hotkeySites(), (Names{"Bank", "Gone"}));
    EXPECT_EQ(lists.availableSites(), (Names{"Mail", "Wiki"}));
    EXPECT_TRUE(lists.lockOnHotkey());
    lists.LoadHotkeyLists(5);
    EXPECT_TRUE(lists.hotkeySites().empty());
    EXPECT_FALSE(lists.lockOnHotkey());
}

TEST_F(HotkeyListsTest, MovingSitesSelectsTheEntryNowAtTheSamePlace)
{
    site("A");
    site("B");
    site("C");
    lists.LoadHotkeyLists(1);

    EXPECT_EQ(lists.AddToHotkey(1), 1);
    EXPECT_EQ(lists.AddToHotkey(1), std::nullopt);
    EXPECT_EQ(lists.AddToHotkey(std::nullopt), std::nullopt);
    EXPECT_EQ(lists.hotkeySites(), (Names{"B", "C"}));
    EXPECT_EQ(lists.availableSites(), Names{"A"});

    EXPECT_EQ(lists.RemoveFromHotkey(0), 0);
    EXPECT_EQ(lists.hotkeySites(), Names{"C"});
    EXPECT_EQ(lists.availableSites(), (Names{"A", "B"}));
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(HotkeyListsTest, ATwentyFirstSiteIsRefused)
{
    for (int i = 1; i <= 21; ++i)
        site("Site" + std::to_string(100 + i));
    lists.LoadHotkeyLists(2);
    for (int i = 0; i < 20; ++i)
        lists.AddToHotkey(0);

    EXPECT_EQ(lists.AddToHotkey(0), 0);

    EXPECT_EQ(dialogs.messages(), Names{"You can only setup 20 sites per hotkey."});
    EXPECT_EQ(lists.hotkeySites().size(), 20u);
    EXPECT_EQ(lists.availableSites(), Names{"Site121"});
}

// A name in two folders is offered twice; one copy may join the list, the other is refused
// as a duplicate, and the one in the list can still be taken off.
TEST_F(HotkeyListsTest, ANameInTwoFoldersJoinsTheListOnce)
{
    site("Home/Mail");
    site("Work/Mail");
    lists.LoadHotkeyLists(1);
    ASSERT_EQ(lists.availableSites(), (Names{"Mail", "Mail"}));

    lists.AddToHotkey(0);
    EXPECT_EQ(lists.availableSites(), Names{"Mail"});
    lists.AddToHotkey(0);
    EXPECT_EQ(dialogs.messages(), Names{"No duplicates are allowed in the list."});
    EXPECT_EQ(lists.hotkeySites(), Names{"Mail"});

    lists.RemoveFromHotkey(0);
    EXPECT_TRUE(lists.hotkeySites().empty());
    EXPECT_EQ(lists.availableSites(), Names{"Mail"});
    EXPECT_EQ(dialogs.messages().size(), 1u);
}

TEST_F(HotkeyListsTest, SavingAShorterListClearsTheOldTailAndStoresTheLock)
{
    for (int i = 1; i <= 8; ++i) {
        site("S" + std::to_string(i));
        entry(6, i, "S" + std::to_string(i));
    }
    lists.LoadHotkeyLists(6);
    for (int i = 0; i < 3; ++i)
        lists.RemoveFromHotkey(5);

    lists.SaveHotkeyList(true);

    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(stored(6, "HOTKEYNUMBER" + std::to_string(i)), "S" + std::to_string(i));
    for (int i = 6; i <= 20; ++i)
        EXPECT_EQ(stored(6, "HOTKEYNUMBER" + std::to_string(i)), "") << i;
    EXPECT_EQ(CountSectionKeys("Hotkey6", profile.file()), 21);
    EXPECT_EQ(stored(6, "HOTKEYLOCK"), "1");
    EXPECT_TRUE(lists.savedShown());
    lists.LoadHotkeyLists(6);
    EXPECT_FALSE(lists.savedShown());
    EXPECT_EQ(lists.hotkeySites().size(), 5u);
}

// Saving registers afresh: a list that became empty releases its key, a new one takes it.
TEST_F(HotkeyListsTest, SavingReleasesAnEmptiedHotkeyAndTakesANewOne)
{
    site("Mail");
    entry(3, 1, "Mail");
    registration.RegisterHotkeys();
    ASSERT_EQ(desktop.held, (std::map<int, Combination>{{3, {kHotkeyModControl, 114}}}));

    lists.LoadHotkeyLists(3);
    lists.RemoveFromHotkey(0);
    lists.SaveHotkeyList(false);
    EXPECT_TRUE(desktop.held.empty());
    EXPECT_EQ(stored(3, "HOTKEYLOCK"), "0");

    lists.LoadHotkeyLists(7);
    lists.AddToHotkey(0);
    lists.SaveHotkeyList(false);
    EXPECT_EQ(desktop.held, (std::map<int, Combination>{{7, {kHotkeyModControl, 118}}}));
}

} // namespace
} // namespace kv::test
