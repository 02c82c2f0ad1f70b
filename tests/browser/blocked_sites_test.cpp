#include "browser/blocked_sites.h"

#include "browser/blocked_sites_texts.h"
#include "common/scripted_dialogs.h"
#include "common/temp_dir.h"
#include "storage/ini_values.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace kv::test {
namespace {

std::string fileText(const std::filesystem::path& file)
{
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class BlockedSitesTest : public ::testing::Test {
protected:
    TempDir dir;
    std::filesystem::path profile = dir / "Profile.ini";
    BlockedSites blocked{profile};
};

TEST_F(BlockedSitesTest, FirstBlockCreatesTheSectionWithEntryOne)
{
    blocked.add("https://a.example/login?x=1");

    const std::string text = fileText(profile);
    EXPECT_NE(text.find("[Blacklist]"), std::string::npos) << text;
    EXPECT_NE(text.find("BlackList1=https://a.example/login?x=1"), std::string::npos) << text;
    EXPECT_EQ(blocked.entries(), (std::vector<BlockedEntry>{{1, "https://a.example/login?x=1"}}));
}

TEST_F(BlockedSitesTest, MatchesOnlyTheExactAddress)
{
    EXPECT_FALSE(blocked.contains("https://a.example/login"));
    blocked.add("https://a.example/login");
    blocked.add("https://b.example/");

    EXPECT_TRUE(blocked.contains("https://a.example/login"));
    EXPECT_TRUE(blocked.contains("https://b.example/"));
    EXPECT_FALSE(blocked.contains("https://A.example/login"));
    EXPECT_FALSE(blocked.contains("https://a.example/login?"));
    EXPECT_FALSE(blocked.contains("https://a.example/"));
}

TEST_F(BlockedSitesTest, BlockingTwiceStoresTwice)
{
    blocked.add("https://a.example/");
    blocked.add("https://a.example/");
    EXPECT_EQ(blocked.entries().size(), 2u);
}

TEST_F(BlockedSitesTest, RemovingTheSecondOfThreeMovesTheThirdDown)
{
    blocked.add("first");
    blocked.add("second");
    blocked.add("third");

    blocked.remove(2);

    EXPECT_EQ(blocked.entries(), (std::vector<BlockedEntry>{{1, "first"}, {2, "third"}}));
    EXPECT_EQ(ReadIniValue("BLACKLIST", "BLACKLIST3", profile), "");
    EXPECT_EQ(fileText(profile).find("BlackList3"), std::string::npos);
    EXPECT_FALSE(blocked.contains("second"));
}

TEST_F(BlockedSitesTest, RemovingTheOnlyEntryThenBlockingAgainWritesEntryOne)
{
    blocked.add("only");
    blocked.remove(1);
    EXPECT_TRUE(blocked.entries().empty());
    EXPECT_TRUE(blocked.listItems().empty());

    blocked.add("again");
    EXPECT_EQ(blocked.entries(), (std::vector<BlockedEntry>{{1, "again"}}));
}

TEST_F(BlockedSitesTest, RemovingANumberOutsideTheListChangesNothing)
{
    blocked.add("first");
    blocked.add("second");
    const std::string before = fileText(profile);

    blocked.remove(0);
    blocked.remove(3);
    blocked.remove(-1);

    EXPECT_EQ(fileText(profile), before);
}

TEST_F(BlockedSitesTest, ListIsSortedByAddressWhileTagsKeepTheBlockingOrder)
{
    blocked.add("https://zeta.example/");
    blocked.add("https://Alpha.example/");
    blocked.add("https://beta.example/");

    EXPECT_EQ(blocked.listItems(), (std::vector<BlockedEntry>{{2, "https://Alpha.example/"},
                                                              {3, "https://beta.example/"},
                                                              {1, "https://zeta.example/"}}));

    // Removal goes by the tag of the chosen row, not by its position in the list.
    blocked.remove(blocked.listItems().front().number);
    EXPECT_EQ(blocked.entries(),
              (std::vector<BlockedEntry>{{1, "https://zeta.example/"}, {2, "https://beta.example/"}}));
}

TEST_F(BlockedSitesTest, RemoveAllAnsweredNoKeepsEveryEntry)
{
    blocked.add("https://a.example/login");
    ScriptedDialogs dialogs{Dialogs::Answer::No};

    blocked.removeAll(dialogs);

    EXPECT_EQ(blocked.entries(), (std::vector<BlockedEntry>{{1, "https://a.example/login"}}));
    EXPECT_EQ(dialogs.asked(), std::vector<std::string>{std::string(kRemoveAllBlockedQuestion)});
    EXPECT_EQ(dialogs.askedButtons(), std::vector<Buttons>{Buttons::YesNoDefaultNo})
        << "Enter keeps the list";
}

TEST_F(BlockedSitesTest, RemoveAllAnsweredYesEmptiesTheList)
{
    blocked.add("one");
    blocked.add("two");
    ScriptedDialogs dialogs{Dialogs::Answer::Yes};

    blocked.removeAll(dialogs);

    EXPECT_TRUE(blocked.entries().empty());
    EXPECT_FALSE(blocked.contains("one"));
    blocked.add("three");
    EXPECT_EQ(blocked.entries(), (std::vector<BlockedEntry>{{1, "three"}}));
}

} // namespace
} // namespace kv::test
