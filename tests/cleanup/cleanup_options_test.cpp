// The cleanup settings of the profile: what the Browser tab loads and saves, and what the
// exit cleanup does with them.
#include "cleanup/cleanup_options.h"
#include "cleanup/cleanup_texts.h"
#include "cleanup/exit_cleanup.h"
#include "common/fake_url_cache.h"
#include "common/scripted_dialogs.h"
#include "common/temp_dir.h"
#include "startup/profile_settings.h"
#include "storage/ini_values.h"

#include <gtest/gtest.h>

#include <map>

namespace kv {
namespace {

using test::FakeUrlCache;
using test::ScriptedDialogs;

class CleanupOptionsTest : public ::testing::Test {
protected:
    void set(std::map<std::string_view, std::string_view> values)
    {
        for (const auto& [key, value] : values)
            WriteIniValue(kOptionsSection, key, value, profile);
    }
    std::string get(std::string_view key) const { return ReadIniValue(kOptionsSection, key, profile); }

    test::TempDir dir;
    std::filesystem::path profile = dir / "me.ini";
};

TEST_F(CleanupOptionsTest, ANewProfileGetsTheDefaultsWrittenAndDeleteAllChecked)
{
    const LoadedCleanupChoices loaded = LoadCleanupChoices(profile);

    EXPECT_EQ(loaded.chkDelAll, true);
    EXPECT_FALSE(loaded.categories);
    EXPECT_TRUE(loaded.chkDeletePrompt);
    EXPECT_EQ(get(BROWSERDELETEALL), "1");
    EXPECT_EQ(get(BROWSERCOOKIE), "0");
    EXPECT_EQ(get(BROWSERHISTORY), "0");
    EXPECT_EQ(get(BROWSERTEMP), "0");
    EXPECT_EQ(get(BROWSERDELETEPROMPT), "1");
}

TEST_F(CleanupOptionsTest, LoadShowsTheStoredChoices)
{
    set({{BROWSERDELETEALL, "0"},
         {BROWSERCOOKIE, "1"},
         {BROWSERHISTORY, "0"},
         {BROWSERTEMP, " 1 "},
         {BROWSERDELETEPROMPT, "0"}});
    LoadedCleanupChoices loaded = LoadCleanupChoices(profile);
    EXPECT_EQ(loaded.chkDelAll, false);
    EXPECT_EQ(loaded.categories, (CategoryChoices{true, false, true}));
    EXPECT_FALSE(loaded.chkDeletePrompt);

    // A value the panel never writes leaves the boxes as they are, and nothing is rewritten.
    set({{BROWSERDELETEALL, "yes"}, {BROWSERDELETEPROMPT, "maybe"}});
    loaded = LoadCleanupChoices(profile);
    EXPECT_FALSE(loaded.chkDelAll);
    EXPECT_FALSE(loaded.categories);
    EXPECT_FALSE(loaded.chkDeletePrompt);
    EXPECT_EQ(get(BROWSERDELETEALL), "yes");
}

TEST_F(CleanupOptionsTest, SaveWritesTheBoxesAndDeleteAllZeroesTheCategories)
{
    SaveCleanupChoices({true, {true, true, false}, false}, profile);
    EXPECT_EQ(get(BROWSERDELETEALL), "1");
    EXPECT_EQ(get(BROWSERCOOKIE), "0");
    EXPECT_EQ(get(BROWSERHISTORY), "0");
    EXPECT_EQ(get(BROWSERDELETEPROMPT), "0");

    SaveCleanupChoices({false, {true, false, true}, true}, profile);
    EXPECT_EQ(get(BROWSERDELETEALL), "0");
    EXPECT_EQ(get(BROWSERCOOKIE), "1");
    EXPECT_EQ(get(BROWSERHISTORY), "0");
    EXPECT_EQ(get(BROWSERTEMP), "1");
    EXPECT_EQ(get(BROWSERDELETEPROMPT), "1");
    // What was saved loads back the same.
    const LoadedCleanupChoices loaded = LoadCleanupChoices(profile);
    EXPECT_EQ(loaded.categories, (CategoryChoices{true, false, true}));
}

TEST_F(CleanupOptionsTest, DeleteAllLocksTheCategoriesCheckedAndReleasingKeepsThem)
{
    const CategoryBoxes locked = DelAllInterlock(true, {false, true, false});
    EXPECT_EQ(locked.checked, (CategoryChoices{true, true, true}));
    EXPECT_FALSE(locked.enabled);
    const CategoryBoxes released = DelAllInterlock(false, locked.checked);
    EXPECT_EQ(released.checked, (CategoryChoices{true, true, true}));
    EXPECT_TRUE(released.enabled);
}

TEST_F(CleanupOptionsTest, OptionNumbersAcceptBlanksAroundANumberAndNothingElse)
{
    EXPECT_EQ(OptionNumber("1"), 1.0);
    EXPECT_EQ(OptionNumber("  0 "), 0.0);
    EXPECT_EQ(OptionNumber("1.0"), 1.0);
    EXPECT_EQ(OptionNumber("2"), 2.0);
    EXPECT_FALSE(OptionNumber(""));
    EXPECT_FALSE(OptionNumber("1x"));
    EXPECT_FALSE(OptionNumber("on"));
}

TEST_F(CleanupOptionsTest, ExitSwitchesFollowDeleteAllThenTheirOwnKeys)
{
    EXPECT_EQ(ExitSwitches(profile), CleanupSwitches::All()); // nothing written yet
    set({{BROWSERDELETEALL, "1"}, {BROWSERCOOKIE, "0"}});
    EXPECT_EQ(ExitSwitches(profile), CleanupSwitches::All());
    set({{BROWSERDELETEALL, "0"}, {BROWSERCOOKIE, "1"}, {BROWSERHISTORY, "0"}, {BROWSERTEMP, "1"}});
    EXPECT_EQ(ExitSwitches(profile), (CleanupSwitches{true, false, true}));
    set({{BROWSERDELETEALL, "2"}});
    EXPECT_EQ(ExitSwitches(profile), CleanupSwitches{});
    set({{BROWSERDELETEALL, "garbage"}});
    EXPECT_EQ(ExitSwitches(profile), CleanupSwitches{});
}

class ExitCleanupTest : public CleanupOptionsTest {
protected:
    ExitCleanupTest() { cache.addBrowsingLeftovers(); }
    bool runExitCleanup()
    {
        bool done = false;
        RunExitCleanup(cleanup, profile, dialogs, [&] { done = true; });
        return done;
    }

    FakeUrlCache cache;
    BrowserCleanup cleanup{cache};
    ScriptedDialogs dialogs;
};

TEST_F(ExitCleanupTest, ANewProfileAsksAndYesDeletesEverything)
{
    dialogs.answer(Dialogs::Answer::Yes);
    EXPECT_TRUE(runExitCleanup());
    EXPECT_EQ(dialogs.asked(), std::vector<std::string>{std::string(kDeleteAllQuestion)});
    EXPECT_TRUE(cache.entries.empty());
}

TEST_F(ExitCleanupTest, AnsweringNoDeletesNothing)
{
    dialogs.answer(Dialogs::Answer::No);
    EXPECT_TRUE(runExitCleanup());
    EXPECT_EQ(cache.entries.size(), 10u);
    EXPECT_EQ(cache.walks, 0);
}

TEST_F(ExitCleanupTest, OnlyCookiesWithoutAskingEvenAfterClearAllSwitchedEverythingOn)
{
    set({{BROWSERDELETEALL, "0"},
         {BROWSERCOOKIE, "1"},
         {BROWSERHISTORY, "0"},
         {BROWSERTEMP, "0"},
         {BROWSERDELETEPROMPT, "0"}});
    cleanup.switches = CleanupSwitches::All(); // as "Clear all" left them

    EXPECT_TRUE(runExitCleanup()); // an unscripted question would throw
    EXPECT_TRUE(dialogs.asked().empty());
    EXPECT_EQ(cache.countOf(EntryCategory::Cookie), 0);
    EXPECT_EQ(cache.countOf(EntryCategory::History), 2);
    EXPECT_EQ(cache.countOf(EntryCategory::TemporaryFile), 5);
}

TEST_F(ExitCleanupTest, TheQuestionComesEvenWithNothingChosenAndThenDeletesNothing)
{
    set({{BROWSERDELETEALL, "0"},
         {BROWSERCOOKIE, "0"},
         {BROWSERHISTORY, "0"},
         {BROWSERTEMP, "0"},
         {BROWSERDELETEPROMPT, "1"}});
    dialogs.answer(Dialogs::Answer::Yes);
    EXPECT_TRUE(runExitCleanup());
    EXPECT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(cache.entries.size(), 10u);
}

TEST_F(ExitCleanupTest, APromptValueItNeverWritesNeitherAsksNorDeletes)
{
    for (std::string_view prompt : {"2", "no"}) {
        set({{BROWSERDELETEPROMPT, prompt}});
        EXPECT_TRUE(runExitCleanup());
    }
    EXPECT_TRUE(dialogs.asked().empty());
    EXPECT_EQ(cache.walks, 0);
}

TEST_F(ExitCleanupTest, DoneWaitsForTheDeletionToFinish)
{
    set({{BROWSERDELETEPROMPT, "0"}});
    cache.hold = true;
    bool done = false;
    RunExitCleanup(cleanup, profile, dialogs, [&] { done = true; });
    EXPECT_FALSE(done);
    while (!cache.held.empty())
        cache.release();
    EXPECT_TRUE(done);
}

} // namespace
} // namespace kv
