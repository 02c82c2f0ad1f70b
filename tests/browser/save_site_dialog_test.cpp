#include "browser/save_site_dialog.h"

#include "browser/capture_texts.h"
#include "browser_test_support.h"
#include "common/scripted_dialogs.h"
#include "common/temp_trash.h"
#include "sites/site_tree_texts.h"
#include "storage/sites_tree.h"
#include "support/parse_url.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

class SaveSiteDialogTest : public ::testing::Test {
protected:
    SaveSiteDialogTest()
    {
        std::filesystem::create_directories(profile.root() / "Work" / "Mail");
        std::filesystem::create_directories(profile.root() / "Bank");
        profile.site("Work/Old.QVR", {{SITEURL, "https://old.example/"}});
        form.loadFolders(tree);
    }
    const SitesTreeNode& node(std::string_view text) const
    {
        for (const auto& node : tree.nodes())
            if (node.text == text)
                return node;
        throw std::logic_error("no node " + std::string(text));
    }

    TestProfile profile;
    ScriptedDialogs dialogs;
    TempTrash trash;
    SaveSiteDialog form{"https://www.shop.example/login", profile.root(), dialogs, trash};
    SitesTreeModel tree;
};

TEST_F(SaveSiteDialogTest, ProposesANameAndShowsOnlyFolders)
{
    EXPECT_EQ(form.initialName(), SiteNameFromUrl("https://www.shop.example/login"));
    std::vector<std::string> texts;
    for (const auto& node : tree.nodes())
        texts.push_back(node.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"Sites", "Bank", "Work", "Mail"}));
    EXPECT_TRUE(tree.nodes().front().expanded);
    EXPECT_EQ(tree.nodes().front().key, AddTrailingSlash(profile.root().string()));
}

TEST_F(SaveSiteDialogTest, TheNameBoxRefusesPathCharacters)
{
    for (char c : std::string("aZ09 !@#$%^&()_+=[];'.,-{}\b"))
        EXPECT_TRUE(SaveSiteDialog::acceptsCharacter(c)) << c;
    for (char c : std::string("/\\:*?\"<>|~`\t\n"))
        EXPECT_FALSE(SaveSiteDialog::acceptsCharacter(c)) << c;
    EXPECT_FALSE(SaveSiteDialog::acceptsCharacter('\0'));

    // Pasted text: only the name characters stay, every byte of anything else goes.
    EXPECT_EQ(SaveSiteDialog::nameCharactersOf("My/Bank:\\2 (old)\b\tCafé"), "MyBank2 (old)Caf");
    EXPECT_EQ(SaveSiteDialog::nameCharactersOf("<>|*?\""), "");
}

TEST_F(SaveSiteDialogTest, SaveNeedsANameAndAFolder)
{
    EXPECT_FALSE(form.cmdSave("", &node("Bank")));
    EXPECT_FALSE(form.cmdSave("Shop", nullptr));
    EXPECT_EQ(dialogs.messages(), (std::vector<std::string>{std::string(kNameMissingMessage),
                                                            std::string(kCategoryMissingMessage)}));
    EXPECT_TRUE(form.FolderPath().empty());

    EXPECT_TRUE(form.cmdSave("Shop", &node("Mail")));
    EXPECT_EQ(form.FolderPath(), AddTrailingSlash((profile.root() / "Work" / "Mail").string()));
    EXPECT_EQ(form.FriendlyName(), "Shop");
}

TEST_F(SaveSiteDialogTest, ASiteNodeCannotBeChosen)
{
    SitesTreeNode site;
    site.key = (profile.root() / "Work" / "Old.QVR").string();
    site.text = "Old";
    site.image = site.selectedImage = kSiteImage;
    EXPECT_FALSE(form.cmdSave("Shop", &site));
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(SaveSiteDialogTest, SavingToTheRootAsksFirst)
{
    dialogs.answer(Dialogs::Answer::No);
    EXPECT_FALSE(form.cmdSave("Shop", &node("Sites")));
    dialogs.answer(Dialogs::Answer::Yes);
    EXPECT_TRUE(form.cmdSave("Shop", &node("Sites")));
    EXPECT_EQ(dialogs.asked(), std::vector<std::string>(2, std::string(kSaveToRootQuestion)));
}

TEST_F(SaveSiteDialogTest, AnExistingSiteIsReplacedOnlyWhenTheUserAgrees)
{
    dialogs.answer(Dialogs::Answer::No);
    EXPECT_FALSE(form.cmdSave("Old", &node("Work")));
    EXPECT_TRUE(form.FriendlyName().empty());
    dialogs.answer(Dialogs::Answer::Yes);
    EXPECT_TRUE(form.cmdSave("Old", &node("Work")));
    EXPECT_EQ(dialogs.asked(), std::vector<std::string>(2, std::string(kReplaceSiteQuestion)));
    EXPECT_EQ(dialogs.askedButtons(), std::vector<Buttons>(2, Buttons::YesNoDefaultNo))
        << "Enter keeps the old site";
}

TEST_F(SaveSiteDialogTest, FolderCommandsSpareTheRoot)
{
    EXPECT_FALSE(form.offersRenameAndDelete(node("Sites")));
    EXPECT_TRUE(form.offersRenameAndDelete(node("Bank")));
    EXPECT_FALSE(form.mnuRenameFolder(&node("Sites")));
    EXPECT_TRUE(form.mnuRenameFolder(&node("Bank")));
    EXPECT_FALSE(form.mnuDeleteFolder(&node("Sites")));
    EXPECT_EQ(form.renameFolder(node("Sites"), "Other"), std::nullopt);
    EXPECT_TRUE(std::filesystem::exists(profile.root()));
    EXPECT_TRUE(dialogs.asked().empty());
}

TEST_F(SaveSiteDialogTest, NewRenameAndDeleteWorkOnDisk)
{
    const auto created = form.mnuNewFolder(&node("Bank"));
    ASSERT_TRUE(created);
    EXPECT_TRUE(std::filesystem::is_directory(profile.root() / "Bank" / "New Folder"));

    EXPECT_EQ(form.renameFolder(node("Bank"), "Bad/Name"), std::nullopt);
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{std::string(kBadNameMessage)});
    const auto renamed = form.renameFolder(node("Bank"), "Money");
    ASSERT_TRUE(renamed);
    EXPECT_TRUE(std::filesystem::is_directory(profile.root() / "Money" / "New Folder"));

    form.loadFolders(tree);
    dialogs.answer(Dialogs::Answer::Yes);
    EXPECT_TRUE(form.mnuDeleteFolder(&node("Money")));
    EXPECT_FALSE(std::filesystem::exists(profile.root() / "Money"));
    EXPECT_TRUE(std::filesystem::is_directory(trash.files() / "Money" / "New Folder"))
        << "deleted into the trash";
    EXPECT_EQ(dialogs.askedButtons(), std::vector<Buttons>{Buttons::YesNoDefaultNo});
}

TEST_F(SaveSiteDialogTest, MenuCommandsWithoutSelectionAskForASite)
{
    EXPECT_EQ(form.mnuNewFolder(nullptr), std::nullopt);
    EXPECT_FALSE(form.mnuRenameFolder(nullptr));
    EXPECT_FALSE(form.mnuDeleteFolder(nullptr));
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>(3, std::string(kSelectASite)));
}

} // namespace
} // namespace kv::test
