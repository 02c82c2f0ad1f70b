#include "browser/site_commands.h"

#include "browser/login_texts.h"
#include "browser_test_support.h"
#include "common/scripted_dialogs.h"
#include "fake_browser.h"
#include "sites/site_tree_texts.h"
#include "storage/sites_tree.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

class NullShell : public DesktopShell {
public:
    void open(std::string_view) override {}
    void lockSession() override {}
};

class SiteCommandsTest : public ::testing::Test {
protected:
    SitesTreeNode siteNode(const std::filesystem::path& site) const
    {
        SitesTreeNode node;
        node.key = site.string();
        node.image = node.selectedImage = kSiteImage;
        return node;
    }
    SitesTreeNode folderNode(const std::filesystem::path& folder) const
    {
        SitesTreeNode node;
        node.key = AddTrailingSlash(folder.string());
        node.image = node.selectedImage = kFolderImage;
        return node;
    }

    TestProfile profile;
    FakeWindowList windows;
    PendingLogins pending;
    ScriptedDialogs dialogs;
    NullShell shell;
    RecordingHost host;
    LoginEngine engine{windows, pending, dialogs, shell, host, profile.file(), profile.root()};
    SiteCommands commands{engine, dialogs};
    std::filesystem::path shop = profile.site(
        "Shops/Shop.QVR", {{SITEURL, "https://shop.example/login"}, {FORMACTIONURL, "/session"}});
};

TEST_F(SiteCommandsTest, EveryCommandWithoutSelectionAsksForASite)
{
    commands.cmdGoToSite(nullptr);
    commands.cmd_LaunchAndLogin(nullptr);
    commands.mnuLogin(nullptr);
    commands.mnuLoginAllSites(nullptr);
    EXPECT_FALSE(commands.mnuVelotrip(nullptr, false));

    EXPECT_EQ(dialogs.messages(), std::vector<std::string>(5, std::string(kSelectASite)));
    EXPECT_TRUE(windows.opened.empty());
}

TEST_F(SiteCommandsTest, GoToSiteAndLaunchAndLoginWantASiteNotAFolder)
{
    const SitesTreeNode folder = folderNode(profile.root() / "Shops");
    commands.cmdGoToSite(&folder);
    commands.cmd_LaunchAndLogin(&folder);
    commands.mnuLogin(&folder);
    EXPECT_EQ(dialogs.messages().size(), 2u);
    EXPECT_TRUE(windows.opened.empty());
}

TEST_F(SiteCommandsTest, GoToSiteOpensThePageWithoutLoggingIn)
{
    const SitesTreeNode node = siteNode(shop);
    commands.cmdGoToSite(&node);
    EXPECT_EQ(windows.navigationsOfAll(), std::vector<std::string>{"https://shop.example/login"});
    EXPECT_EQ(pending.Count(), 0u);
}

TEST_F(SiteCommandsTest, LaunchAndLoginAndLoginStartAPendingLogin)
{
    const SitesTreeNode node = siteNode(shop);
    commands.cmd_LaunchAndLogin(&node);
    commands.mnuLogin(&node);
    EXPECT_EQ(pending.Count(), 2u);
}

TEST_F(SiteCommandsTest, LoginToAllSitesOfAFolderGoesThroughItsSubfolders)
{
    profile.site("Shops/Food/Grocer.QVR", {{SITEURL, "https://grocer.example/"}});
    profile.site("Shops/Books.QVR", {{SITEURL, "https://books.example/"}});
    profile.site("Other.QVR", {{SITEURL, "https://other.example/"}});
    const SitesTreeNode folder = folderNode(profile.root() / "Shops");

    commands.mnuLoginAllSites(&folder);

    EXPECT_EQ(windows.navigationsOfAll(),
              (std::vector<std::string>{"https://books.example/", "https://shop.example/login",
                                        "https://grocer.example/"}));
    const SitesTreeNode site = siteNode(shop);
    commands.mnuLoginAllSites(&site);
    EXPECT_EQ(windows.navigationsOfAll().size(), 3u);
}

TEST_F(SiteCommandsTest, VelotripOnForAnAbsoluteActionWithoutQuestion)
{
    const auto absolute = profile.site("Abs.QVR", {{FORMACTIONURL, "https://shop.example/session"}});
    const SitesTreeNode node = siteNode(absolute);

    EXPECT_TRUE(commands.mnuVelotrip(&node, false));
    EXPECT_EQ(SiteValue(absolute, VELOTRIP), "1");
    EXPECT_TRUE(dialogs.asked().empty());

    EXPECT_FALSE(commands.mnuVelotrip(&node, true));
    EXPECT_EQ(SiteValue(absolute, VELOTRIP), "0");
}

TEST_F(SiteCommandsTest, VelotripOnForARelativeActionAsksFirst)
{
    const SitesTreeNode node = siteNode(shop);
    dialogs.answer(Dialogs::Answer::No);
    EXPECT_FALSE(commands.mnuVelotrip(&node, false));
    EXPECT_EQ(SiteValue(shop, VELOTRIP), "");

    dialogs.answer(Dialogs::Answer::Yes);
    EXPECT_TRUE(commands.mnuVelotrip(&node, false));
    EXPECT_EQ(SiteValue(shop, VELOTRIP), "1");
    EXPECT_EQ(dialogs.asked(), std::vector<std::string>(2, std::string(kVelotripUnsupportedQuestion)));
}

TEST_F(SiteCommandsTest, VelotripOnAFolderChangesNothing)
{
    const SitesTreeNode folder = folderNode(profile.root() / "Shops");
    EXPECT_TRUE(commands.mnuVelotrip(&folder, true));
    EXPECT_FALSE(commands.mnuVelotrip(&folder, false));
    EXPECT_TRUE(dialogs.messages().empty());
}

} // namespace
} // namespace kv::test
