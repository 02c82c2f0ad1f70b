#include "common/scripted_dialogs.h"
#include "common/temp_trash.h"
#include "gui_test_support.h"
#include "mainwindow/site_details.h"
#include "sites/site_tree_commands.h"
#include "sites/site_tree_texts.h"
#include "storage/secure_store.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace kv::test {
namespace {

struct SiteTreeCommandsTest : ::testing::Test {
    TestProfile profile;
    ScriptedDialogs dialogs;
    TempTrash trash;
};

// A trash that cannot take anything, as on a full or read-only disk.
struct RefusingTrash : Trash {
    bool moveToTrash(const std::filesystem::path&) override { return false; }
};

TEST_F(SiteTreeCommandsTest, NamesWithAnyForbiddenCharacterAreRefusedWithTheCharacterList)
{
    for (std::string bad : {"a/b", "a\\b", "c:", "*", "?", "\"q\"", "<", ">", "|"})
        EXPECT_FALSE(CheckNodeName(bad, dialogs)) << bad;
    EXPECT_EQ(dialogs.messages().size(), 9u);
    EXPECT_EQ(dialogs.messages()[0],
              "A file name cannot contain any of the following characters:\n\\ / : * ? \" < > |");
    EXPECT_TRUE(CheckNodeName("Bank (old) & co.", dialogs));
}

TEST_F(SiteTreeCommandsTest, RenamingASiteKeepsItsFolderAndExtension)
{
    fs::path site = profile.makeSite("Finance/Old.QVR");
    auto key = RenameSite(site.string(), "Bank", dialogs);
    ASSERT_TRUE(key);
    EXPECT_EQ(*key, profile.key("Finance/Bank.QVR"));
    EXPECT_TRUE(fs::exists(*key));
    EXPECT_FALSE(fs::exists(site));
}

TEST_F(SiteTreeCommandsTest, RenamingOntoAnExistingNameNeverReplacesIt)
{
    fs::path old = profile.makeSite("Old.QVR", "https://old.example/");
    profile.makeSite("Bank.QVR", "https://bank.example/");
    EXPECT_FALSE(RenameSite(old.string(), "Bank", dialogs));
    EXPECT_EQ(dialogs.messages(), (std::vector<std::string>{std::string(kOperationsFailed)}));
    EXPECT_EQ(*ReadSecureValue("Main", "SITEURL", profile.key("Bank.QVR")), "https://bank.example/");
    EXPECT_TRUE(fs::exists(old));

    profile.makeFolder("A");
    profile.makeFolder("B");
    EXPECT_FALSE(RenameFolder(profile.folderKey("A"), "B", dialogs));
    EXPECT_TRUE(fs::is_directory(profile.key("A")));
}

TEST_F(SiteTreeCommandsTest, RenamingAFolderGivesTheKeyUnderItsParent)
{
    profile.makeSite("Work/Mail/Inbox.QVR");
    auto key = RenameFolder(profile.folderKey("Work/Mail"), "Post", dialogs);
    ASSERT_TRUE(key);
    EXPECT_EQ(*key, profile.folderKey("Work/Post"));
    EXPECT_TRUE(fs::exists(profile.key("Work/Post/Inbox.QVR")));
}

TEST_F(SiteTreeCommandsTest, NewFolderTakesTheFirstFreeNumber)
{
    profile.makeFolder("New Folder");
    profile.makeFolder("New Folder (2)");
    auto key = CreateNewFolder(profile.folderKey(""));
    ASSERT_TRUE(key);
    EXPECT_EQ(*key, profile.folderKey("New Folder (3)"));
    EXPECT_TRUE(fs::is_directory(profile.key("New Folder (3)")));
}

TEST_F(SiteTreeCommandsTest, NoNewFolderWhenAThousandNamesAreTaken)
{
    profile.makeFolder("Full/New Folder");
    for (int n = 2; n <= 1000; ++n)
        profile.makeFolder("Full/New Folder (" + std::to_string(n) + ")");
    EXPECT_FALSE(CreateNewFolder(profile.folderKey("Full")));
}

TEST_F(SiteTreeCommandsTest, DeleteAsksTheExactQuestionsAndNoKeepsEverything)
{
    profile.makeSite("Shop/Store.QVR");
    dialogs.answer(Dialogs::Answer::No);
    EXPECT_FALSE(DeleteFolder(profile.folderKey("Shop"), "Shop", dialogs, trash));
    EXPECT_TRUE(fs::exists(profile.key("Shop/Store.QVR")));
    EXPECT_EQ(dialogs.asked().back(),
              "!!! WARNING  !!!\nAre you sure you want to delete the folder 'Shop' ?\n\n"
              "This will delete all sites contained under the folder 'Shop' ?");

    dialogs.answer(Dialogs::Answer::No);
    EXPECT_FALSE(DeleteSite(profile.key("Shop/Store.QVR"), "Store", dialogs, trash));
    EXPECT_EQ(dialogs.asked().back(), "Are you sure you want to delete the file 'Store'?");
    EXPECT_EQ(dialogs.askedButtons(), std::vector<Buttons>(2, Buttons::YesNoDefaultNo)) << "Enter must keep";
    EXPECT_FALSE(fs::exists(trash.files()));
}

TEST_F(SiteTreeCommandsTest, DeletedSitesAndFoldersGoToTheTrash)
{
    profile.makeSite("Shop/Store.QVR", "https://store.example/");
    profile.makeSite("Shop/Deep/Cart.QVR");
    dialogs.answer(Dialogs::Answer::Yes);
    EXPECT_TRUE(DeleteSite(profile.key("Shop/Store.QVR"), "Store", dialogs, trash));
    EXPECT_FALSE(fs::exists(profile.key("Shop/Store.QVR")));
    EXPECT_EQ(*ReadSecureValue("Main", "SITEURL", trash.files() / "Store.QVR"), "https://store.example/");

    dialogs.answer(Dialogs::Answer::Yes);
    EXPECT_TRUE(DeleteFolder(profile.folderKey("Shop"), "Shop", dialogs, trash));
    EXPECT_FALSE(fs::exists(profile.key("Shop")));
    EXPECT_TRUE(fs::exists(trash.files() / "Shop" / "Deep" / "Cart.QVR"));
    EXPECT_TRUE(fs::exists(trash.info() / "Shop.trashinfo"));
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(SiteTreeCommandsTest, ATrashThatRefusesLeavesEverythingAndSaysSo)
{
    profile.makeSite("Shop/Store.QVR");
    RefusingTrash full;
    dialogs.answer(Dialogs::Answer::Yes);
    dialogs.answer(Dialogs::Answer::Yes);
    EXPECT_TRUE(DeleteSite(profile.key("Shop/Store.QVR"), "Store", dialogs, full));
    EXPECT_TRUE(DeleteFolder(profile.folderKey("Shop"), "Shop", dialogs, full));
    EXPECT_TRUE(fs::exists(profile.key("Shop/Store.QVR")));
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>(2, std::string(kOperationsFailed)));
}

TEST_F(SiteTreeCommandsTest, AFolderCannotMoveIntoItselfOrBelowItself)
{
    profile.makeFolder("A/B/C");
    dialogs.answer(Dialogs::Answer::OK);
    dialogs.answer(Dialogs::Answer::OK);
    dialogs.answer(Dialogs::Answer::OK);
    EXPECT_EQ(MoveSiteOrFolder(profile.folderKey("A"), true, "A", profile.folderKey("A/B"), dialogs).outcome,
              MoveOutcome::Refused);
    EXPECT_EQ(MoveSiteOrFolder(profile.folderKey("A"), true, "A", profile.folderKey("A"), dialogs).outcome,
              MoveOutcome::Refused);
    EXPECT_EQ(MoveSiteOrFolder(profile.folderKey(""), true, "Sites", profile.folderKey("A"), dialogs).outcome,
              MoveOutcome::Refused);
    EXPECT_EQ(dialogs.asked(), std::vector<std::string>(3, std::string(kDragNotPermitted)));
    EXPECT_TRUE(fs::is_directory(profile.key("A/B/C")));
}

TEST_F(SiteTreeCommandsTest, MovesASiteOrFolderIntoTheTarget)
{
    profile.makeSite("Bank.QVR");
    profile.makeSite("Music/Rock/Band.QVR");
    profile.makeFolder("Finance");
    MoveResult site =
        MoveSiteOrFolder(profile.key("Bank.QVR"), false, "Bank", profile.folderKey("Finance"), dialogs);
    EXPECT_EQ(site.outcome, MoveOutcome::Moved);
    EXPECT_EQ(site.key, profile.key("Finance/Bank.QVR"));
    EXPECT_TRUE(fs::exists(site.key));

    MoveResult folder = MoveSiteOrFolder(profile.folderKey("Music/Rock"), true, "Rock",
                                         profile.folderKey("Finance"), dialogs);
    EXPECT_EQ(folder.outcome, MoveOutcome::Moved);
    EXPECT_EQ(folder.key, profile.folderKey("Finance/Rock"));
    EXPECT_TRUE(fs::exists(profile.key("Finance/Rock/Band.QVR")));

    MoveResult same = MoveSiteOrFolder(site.key, false, "Bank", profile.folderKey("Finance"), dialogs);
    EXPECT_EQ(same.outcome, MoveOutcome::Unchanged);
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(SiteTreeCommandsTest, AMoveNeverOverwritesASiteOrFolderOfTheSameName)
{
    profile.makeSite("Bank.QVR", "https://moved.example/");
    profile.makeSite("Finance/Bank.QVR", "https://kept.example/");
    profile.makeSite("Old/Mail/a.QVR");
    profile.makeSite("Finance/Mail/b.QVR");

    MoveResult site =
        MoveSiteOrFolder(profile.key("Bank.QVR"), false, "Bank", profile.folderKey("Finance"), dialogs);
    EXPECT_EQ(site.outcome, MoveOutcome::Failed);
    EXPECT_EQ(site.key, profile.key("Bank.QVR"));
    EXPECT_EQ(*ReadSecureValue("Main", "SITEURL", profile.key("Finance/Bank.QVR")), "https://kept.example/");
    EXPECT_EQ(*ReadSecureValue("Main", "SITEURL", profile.key("Bank.QVR")), "https://moved.example/");

    MoveResult folder =
        MoveSiteOrFolder(profile.folderKey("Old/Mail"), true, "Mail", profile.folderKey("Finance"), dialogs);
    EXPECT_EQ(folder.outcome, MoveOutcome::Failed);
    EXPECT_TRUE(fs::exists(profile.key("Old/Mail/a.QVR")));
    EXPECT_TRUE(fs::exists(profile.key("Finance/Mail/b.QVR")));
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>(2, std::string(kOperationsFailed)));
}

TEST_F(SiteTreeCommandsTest, DetailsShowEveryItemInOrderAndSaveOnlyFilledEditableOnes)
{
    fs::path site = profile.makeSite("Bank.QVR", "https://bank.example/login");
    std::vector<PropertyItem> items = LoadSiteDetails(site);
    ASSERT_EQ(items.size(), 12u);
    EXPECT_EQ(items[0].caption, "Friendly name");
    EXPECT_EQ(items[2].value, "https://bank.example/login");
    EXPECT_EQ(items[8].value, "alice");
    EXPECT_EQ(items[11].caption, "Amount of times used");
    std::vector<std::string> editable;
    for (const PropertyItem& item : items) {
        if (!item.readOnly)
            editable.push_back(item.caption);
    }
    EXPECT_EQ(editable, (std::vector<std::string>{"Friendly name", "Login", "Password"}));

    items[0].value = "My bank";
    items[2].value = "https://evil.example/";
    items[8].value = "";
    items[10].value = "s3cret";
    ScriptedDialogs dialogs;
    EXPECT_TRUE(SaveSiteDetails(site, items, dialogs));
    EXPECT_TRUE(dialogs.messages().empty());
    EXPECT_EQ(*ReadSecureValue("Main", "SITEFRIENDLYNAME", site), "My bank");
    EXPECT_EQ(*ReadSecureValue("Main", "SITEURL", site), "https://bank.example/login");
    EXPECT_EQ(*ReadSecureValue("Main", "FORMLOGINVALUE", site), "alice");
    EXPECT_EQ(*ReadSecureValue("Main", "FORMPASSVALUE", site), "s3cret");
}

} // namespace
} // namespace kv::test
