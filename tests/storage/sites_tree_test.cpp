// The sites tree on disk: which files are sites, walk orders, the tree model, path helpers.
#include "common/temp_dir.h"
#include "storage/key_material.h"
#include "storage/secure_store.h"
#include "storage/site_file.h"
#include "storage/sites_tree.h"
#include "storage/sites_tree_model.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kv::test {
namespace {

namespace fs = std::filesystem;

class SitesTree : public testing::Test {
protected:
    void SetUp() override { SetCipherKeys({"machine key", "value key for the sites tree tests"}); }

    fs::path touch(const fs::path& relative, const std::string& text = "[Main]\n")
    {
        const fs::path file = root() / relative;
        fs::create_directories(file.parent_path());
        std::ofstream(file) << text;
        return file;
    }
    fs::path root() const { return temp / "profile"; }
    std::string key(const fs::path& relative) const { return (root() / relative).string(); }

    TempDir temp;
};

TEST_F(SitesTree, TreeShowsFoldersAndSitesKeyedByPath)
{
    touch("Mail.QVR");
    touch("Mail/Inbox.QVR");
    touch("alice.ini");
    touch("a.QVR.txt");
    touch("b.qvr");
    SitesTreeModel tree;
    FillSitesTree(tree, root());

    const auto& nodes = tree.nodes();
    ASSERT_EQ(nodes.size(), 5u);
    const SitesTreeNode& top = nodes[0];
    EXPECT_EQ(top.key, key(""));
    EXPECT_EQ(top.text, "Sites");
    EXPECT_TRUE(top.expanded);
    EXPECT_FALSE(top.parent);

    const SitesTreeNode* folder = tree.find(key("Mail/"));
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(folder->text, "Mail");
    EXPECT_EQ(folder->tag, "Mail");
    EXPECT_EQ(folder->selectedImage, kFolderImage);
    EXPECT_EQ(folder->parent, 0u);

    const SitesTreeNode* site = tree.find(key("Mail.QVR"));
    ASSERT_NE(site, nullptr);
    EXPECT_EQ(site->text, "Mail");
    EXPECT_EQ(site->image, kSiteImage);
    EXPECT_EQ(site->selectedImage, kSiteImage);

    const SitesTreeNode* inner = tree.find(key("Mail/Inbox.QVR"));
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(&nodes[*inner->parent], folder);
    EXPECT_EQ(folder->children.size(), 1u);

    const SitesTreeNode* odd = tree.find(key("a.QVR.txt"));
    ASSERT_NE(odd, nullptr) << "a name holding .QVR anywhere is a site";
    EXPECT_EQ(odd->text, "a.txt");
    EXPECT_EQ(tree.find(key("b.qvr")), nullptr) << ".QVR is matched in exactly that case";
}

TEST_F(SitesTree, EmptyProfileGivesOnlyTheRootAndRebuildStartsOver)
{
    fs::create_directories(root());
    SitesTreeModel tree;
    FillSitesTree(tree, root());
    ASSERT_EQ(tree.nodes().size(), 1u);
    EXPECT_EQ(tree.nodes()[0].text, "Sites");

    touch("x.QVR");
    FillSitesTree(tree, root());
    EXPECT_EQ(tree.nodes().size(), 2u);
}

TEST_F(SitesTree, FoldersOnlyTreeForChoosingACategory)
{
    touch("Work/Mail/x.QVR");
    touch("y.QVR");
    SitesTreeModel tree;
    tree.add(std::nullopt, key(""), "Sites", "", kFolderImage, kFolderImage);
    AddFolderNodes(root(), tree, false);
    std::vector<std::string> keys;
    for (const SitesTreeNode& node : tree.nodes())
        keys.push_back(node.key);
    EXPECT_EQ(keys, (std::vector<std::string>{key(""), key("Work/"), key("Work/Mail/")}));
}

TEST_F(SitesTree, ModelRefusesTakenKeysAndUnknownParents)
{
    SitesTreeModel tree;
    ASSERT_TRUE(tree.add(std::nullopt, "/p/", "Sites", "", 1, 1));
    EXPECT_FALSE(tree.add(std::nullopt, "/p/", "again", "", 1, 1));
    EXPECT_FALSE(tree.add(std::string_view("/nowhere/"), "/nowhere/x.QVR", "x", "x", 2, 2));
    EXPECT_EQ(tree.nodes().size(), 1u);
}

TEST_F(SitesTree, CollectTakesAFoldersOwnSitesBeforeItsSubfolders)
{
    touch("b/deep/3.QVR");
    touch("b/2.QVR");
    touch("1.QVR");
    touch("a/Z.QVR");
    touch("a.QVR.txt");
    touch("c.qvr");
    touch("alice.ini");
    std::vector<fs::path> list;
    std::int32_t files = 0, folders = 0;
    CollectSiteFiles(root(), kSitePattern, list, files, folders);

    EXPECT_EQ(list, (std::vector<fs::path>{root() / "1.QVR", root() / "a/Z.QVR", root() / "b/2.QVR",
                                           root() / "b/deep/3.QVR"}));
    EXPECT_EQ(files, 4);
    EXPECT_EQ(folders, 3);
}

TEST_F(SitesTree, FindSiteFileLastFoundWinsAndNothingFoundLeavesTheResult)
{
    touch("Bank.QVR");
    touch("Money/Bank.QVR");
    touch("Money/Old/Bank.QVR");
    touch("Other/bank.QVR");
    std::int32_t files = 0, folders = 0;
    fs::path result = "unchanged";
    FindSiteFile(root(), "Bank.QVR", files, folders, result);
    EXPECT_EQ(result, root() / "Money/Old/Bank.QVR");

    result = "unchanged";
    FindSiteFile(root(), "Gone.QVR", files, folders, result);
    EXPECT_EQ(result, "unchanged");
}

TEST_F(SitesTree, ListSiteNamesRecursesIntoVisibleFoldersOnly)
{
    touch("One.QVR");
    touch("notes.txt");
    touch("Work/Two.QVR");
    touch(".hidden/Three.QVR");
    SiteSearch search{false, root()};
    std::vector<std::string> names;
    ListSiteNames(search, names);
    EXPECT_EQ(names, std::vector<std::string>{"One"});
    EXPECT_EQ(search.fileCount, 1);

    search.recursive = true;
    search.fileCount = 0;
    names.clear();
    ListSiteNames(search, names);
    EXPECT_EQ(names, (std::vector<std::string>{"One", "Two"}));
    EXPECT_EQ(search.directory, root());
}

TEST_F(SitesTree, SumSuccessCountsSkipsAbsentAndDamagedCounters)
{
    WriteSecureValue(kStatsSection, SUCCESS, "3", touch("a.QVR", ""));
    WriteSecureValue(kStatsSection, SUCCESS, "4", touch("Sub/b.QVR", ""));
    WriteSecureValue(kStatsSection, SUCCESS, "2.5", touch("Sub/c.QVR", ""));
    touch("Sub/none.QVR");
    touch("Sub/damaged.QVR", "[Stats]\nSUCCESS=ZZ 01\n");
    SiteSearch search{true, root()};
    std::int64_t total = 0;
    SumSuccessCounts(search, total);
    EXPECT_EQ(total, 3 + 4 + 2);
}

TEST_F(SitesTree, WalksDoNotFollowLinkedFolders)
{
    touch("Loop/x.QVR");
    fs::create_directory_symlink(root(), root() / "Loop" / "back");
    fs::create_directory_symlink(temp.path(), root() / "out");
    std::vector<fs::path> list;
    std::int32_t files = 0, folders = 0;
    CollectSiteFiles(root(), kSitePattern, list, files, folders);
    EXPECT_EQ(list, std::vector<fs::path>{root() / "Loop/x.QVR"});
}

// A save cut short leaves its hidden temp file beside the site; neither it nor a hidden
// folder is a site or a category.
TEST_F(SitesTree, TreeLeavesOutHiddenFilesAndFolders)
{
    touch("Mail/.Inbox.QVR.Ab12Cd");
    touch(".Bank.QVR.x1Y2z3");
    touch(".kv-Ab12Cd");
    touch(".hidden/Secret.QVR");
    touch("Mail/Inbox.QVR");
    SitesTreeModel tree;
    FillSitesTree(tree, root());
    std::vector<std::string> keys;
    for (const SitesTreeNode& node : tree.nodes())
        keys.push_back(node.key);
    EXPECT_EQ(keys, (std::vector<std::string>{key(""), key("Mail/"), key("Mail/Inbox.QVR")}));
}

TEST_F(SitesTree, ASiteFileThatIsALinkIsShownAsDamaged)
{
    const fs::path elsewhere = touch("../elsewhere.ini", "[Main]\nFORMPASSVALUE=old\n");
    touch("Bank.QVR");
    fs::create_symlink(elsewhere, root() / "Linked.QVR");
    SitesTreeModel tree;
    FillSitesTree(tree, root());
    ASSERT_NE(tree.find(key("Linked.QVR")), nullptr);
    EXPECT_EQ(tree.find(key("Linked.QVR"))->problem, SiteProblem::Link);
    EXPECT_EQ(tree.find(key("Bank.QVR"))->problem, SiteProblem::None);
}

TEST_F(SitesTree, MakeDirPathBuildsOwnerOnlyLevelsOfAbsolutePathsOnly)
{
    MakeDirPath(temp / "p/q/r");
    for (const char* level : {"p", "p/q", "p/q/r"}) {
        struct stat info {};
        ASSERT_EQ(stat((temp / level).c_str(), &info), 0) << level;
        EXPECT_EQ(info.st_mode & 0777, 0700u) << level;
    }
    MakeDirPath(temp / "p/q/r");
    EXPECT_TRUE(fs::is_directory(temp / "p/q/r"));

    const fs::path before = fs::current_path();
    fs::current_path(temp.path());
    MakeDirPath("relative/dir");
    fs::current_path(before);
    EXPECT_FALSE(fs::exists(temp / "relative"));
}

TEST_F(SitesTree, PathHelpers)
{
    touch("visible.QVR");
    touch(".hidden.QVR");
    EXPECT_TRUE(FileExists(root() / "visible.QVR"));
    EXPECT_FALSE(FileExists(root() / ".hidden.QVR"));
    EXPECT_FALSE(FileExists(root() / "missing.QVR"));

    EXPECT_EQ(FileNameFromPath("/p/Work/ Bank.QVR "), "Bank.QVR");
    EXPECT_EQ(FileNameFromPath("Bank.QVR"), "Bank.QVR");
    EXPECT_EQ(FileNameFromPath("/p/Work/"), "");
    EXPECT_EQ(AddTrailingSlash("/p/Work"), "/p/Work/");
    EXPECT_EQ(AddTrailingSlash("/p/Work/"), "/p/Work/");
    EXPECT_EQ(TrimAtNul(std::string("alice\0junk", 10)), "alice");
    EXPECT_EQ(SiteDisplayName("x.QVR.QVR"), "x");
    EXPECT_FALSE(IsSiteFileName("x.Qvr"));
}

} // namespace
} // namespace kv::test
