#include "app/qt_dialogs.h"
#include "common/scripted_dialogs.h"
#include "common/temp_trash.h"
#include "gui_test_support.h"
#include "mainwindow/property_grid_widget.h"
#include "mainwindow/site_details_form.h"
#include "mainwindow/sites_frame.h"
#include "modal_box.h"
#include "sites/site_tree_texts.h"
#include "storage/ini_values.h"
#include "storage/secure_store.h"
#include "storage/storage_test_files.h"
#include "widgets/sites_tree_widget.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

namespace fs = std::filesystem;

namespace kv::test {
namespace {

// Item views take an edit only once the event loop has run after Return.
void FinishEditing(QLineEdit* editor)
{
    QPointer<QLineEdit> open(editor);
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&open] { return open.isNull(); }, 5000));
}

struct SitesFrameTest : ::testing::Test {
    SitesFrameTest()
    {
        profile.makeSite("Old.QVR");
        profile.makeSite("Work/Mail/Inbox.QVR");
        profile.makeSite("Work/Mail/Deep/Archive.QVR");
        profile.makeSite("Finance/Bank.QVR");
        frame.reloadTree();
        frame.resize(500, 400);
        frame.show();
    }

    QTreeWidgetItem* node(const std::string& key) const { return tree()->findKey(key); }
    SitesTreeWidget* tree() const { return frame.TreeView1(); }
    QAction* action(QMenu* menu, const char* name) const
    {
        for (QAction* action : menu->actions()) {
            if (action->objectName() == name)
                return action;
        }
        return nullptr;
    }

    // Types a new label into the tree's own editor, as the user does.
    void rename(QTreeWidgetItem* item, const QString& text)
    {
        tree()->setCurrentItem(item);
        tree()->editItem(item, 0);
        auto* editor = tree()->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        FinishEditing(editor);
    }

    TestProfile profile;
    ScriptedDialogs dialogs;
    RecordingLauncher launcher;
    TempTrash trash;
    SitesFrame frame{{profile.directory(), profile.file(), dialogs, launcher, trash}};
};

TEST_F(SitesFrameTest, RenameWithASlashIsRefusedAndNothingChanges)
{
    QTreeWidgetItem* old = node(profile.key("Old.QVR"));
    ASSERT_NE(old, nullptr);
    rename(old, "a/b");
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_TRUE(
        dialogs.messages()[0].starts_with("A file name cannot contain any of the following characters:"));
    EXPECT_EQ(old->text(0), "Old");
    EXPECT_TRUE(fs::exists(profile.key("Old.QVR")));
}

TEST_F(SitesFrameTest, RenameToBankGivesBankQvrInTheSameFolder)
{
    QTreeWidgetItem* old = node(profile.key("Old.QVR"));
    rename(old, "Bank");
    EXPECT_EQ(old->text(0), "Bank");
    EXPECT_EQ(SitesTreeWidget::key(old), profile.key("Bank.QVR"));
    EXPECT_TRUE(fs::exists(profile.key("Bank.QVR")));
    EXPECT_FALSE(fs::exists(profile.key("Old.QVR")));
}

TEST_F(SitesFrameTest, RenamingANestedFolderKeepsEveryKeyUnderTheNewPath)
{
    QTreeWidgetItem* work = node(profile.folderKey("Work"));
    rename(work, "Job");
    EXPECT_EQ(SitesTreeWidget::key(work), profile.folderKey("Job"));
    std::vector<const QTreeWidgetItem*> below;
    std::function<void(const QTreeWidgetItem*)> collect = [&](const QTreeWidgetItem* item) {
        for (int i = 0; i < item->childCount(); ++i) {
            below.push_back(item->child(i));
            collect(item->child(i));
        }
    };
    collect(work);
    EXPECT_EQ(below.size(), 4u);
    for (const QTreeWidgetItem* item : below)
        EXPECT_TRUE(SitesTreeWidget::key(item).starts_with(profile.folderKey("Job")))
            << SitesTreeWidget::key(item);
    EXPECT_NE(node(profile.key("Job/Mail/Deep/Archive.QVR")), nullptr);
    EXPECT_TRUE(fs::exists(profile.key("Job/Mail/Deep/Archive.QVR")));
}

TEST_F(SitesFrameTest, NewFolderAfterTwoExistingIsNumberThree)
{
    profile.makeFolder("New Folder");
    profile.makeFolder("New Folder (2)");
    frame.reloadTree();
    QTreeWidgetItem* root = tree()->topLevelItem(0);
    tree()->setCurrentItem(root);
    action(frame.mnuFolders(), "mnuNewFolder")->trigger();
    QTreeWidgetItem* created = node(profile.folderKey("New Folder (3)"));
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->text(0), "New Folder (3)");
    EXPECT_EQ(created->parent(), root);
    EXPECT_TRUE(fs::is_directory(profile.key("New Folder (3)")));
}

TEST_F(SitesFrameTest, DroppingAFolderOntoItsOwnChildIsRefused)
{
    dialogs.answer(Dialogs::Answer::OK);
    QTreeWidgetItem* work = node(profile.folderKey("Work"));
    frame.dropNode(work, node(profile.folderKey("Work/Mail")));
    EXPECT_EQ(dialogs.asked(), (std::vector<std::string>{std::string(kDragNotPermitted)}));
    EXPECT_EQ(work->parent(), tree()->topLevelItem(0));
    EXPECT_TRUE(fs::exists(profile.key("Work/Mail/Inbox.QVR")));
}

TEST_F(SitesFrameTest, DroppingASiteOntoASiteMovesItIntoThatSitesFolder)
{
    QTreeWidgetItem* old = node(profile.key("Old.QVR"));
    frame.dropNode(old, node(profile.key("Finance/Bank.QVR")));
    EXPECT_EQ(old->parent(), node(profile.folderKey("Finance")));
    EXPECT_EQ(SitesTreeWidget::key(old), profile.key("Finance/Old.QVR"));
    EXPECT_TRUE(fs::exists(profile.key("Finance/Old.QVR")));
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(SitesFrameTest, DroppingOntoASameNamedSiteIsRefusedAndBothStay)
{
    profile.makeSite("Finance/Old.QVR", "https://kept.example/");
    frame.reloadTree();
    QTreeWidgetItem* old = node(profile.key("Old.QVR"));
    frame.dropNode(old, node(profile.folderKey("Finance")));
    EXPECT_EQ(dialogs.messages(), (std::vector<std::string>{std::string(kOperationsFailed)}));
    EXPECT_EQ(old->parent(), tree()->topLevelItem(0));
    EXPECT_EQ(*ReadSecureValue("Main", "SITEURL", profile.key("Finance/Old.QVR")), "https://kept.example/");
}

TEST_F(SitesFrameTest, TheRootOffersOnlyNewFolderAndIgnoresDelete)
{
    QTreeWidgetItem* root = tree()->topLevelItem(0);
    QTest::mouseClick(tree()->viewport(), Qt::RightButton, {}, tree()->visualItemRect(root).center());
    EXPECT_TRUE(frame.mnuFolders()->isVisible());
    EXPECT_FALSE(action(frame.mnuFolders(), "mnuLoginAllSites")->isVisible());
    EXPECT_FALSE(action(frame.mnuFolders(), "mnuRenameFolder")->isVisible());
    EXPECT_FALSE(action(frame.mnuFolders(), "mnuDeleteFolder")->isVisible());
    EXPECT_FALSE(action(frame.mnuFolders(), "mnuDash2")->isVisible());
    EXPECT_TRUE(action(frame.mnuFolders(), "mnuNewFolder")->isVisible());
    frame.mnuFolders()->hide();

    QTreeWidgetItem* work = node(profile.folderKey("Work"));
    QTest::mouseClick(tree()->viewport(), Qt::RightButton, {}, tree()->visualItemRect(work).center());
    EXPECT_TRUE(action(frame.mnuFolders(), "mnuDeleteFolder")->isVisible());
    frame.mnuFolders()->hide();

    tree()->setCurrentItem(root);
    QTest::keyClick(tree(), Qt::Key_Delete);
    EXPECT_TRUE(dialogs.asked().empty());
    EXPECT_FALSE((root->flags() & Qt::ItemIsEditable));
}

TEST_F(SitesFrameTest, TheContextMenuKeyOpensTheMenuOfTheSelectedNode)
{
    tree()->setCurrentItem(node(profile.key("Finance/Bank.QVR")));
    QTest::keyClick(tree(), Qt::Key_Menu);
    EXPECT_TRUE(frame.mnuFiles()->isVisible());
    EXPECT_FALSE(frame.mnuFolders()->isVisible());
    frame.mnuFiles()->hide();
}

TEST_F(SitesFrameTest, DeleteKeyOnASiteAsksAndYesDeletesIt)
{
    dialogs.answer(Dialogs::Answer::Yes);
    tree()->setCurrentItem(node(profile.key("Finance/Bank.QVR")));
    QTest::keyClick(tree(), Qt::Key_Delete);
    EXPECT_EQ(dialogs.asked(),
              (std::vector<std::string>{"Are you sure you want to delete the file 'Bank'?"}));
    EXPECT_FALSE(fs::exists(profile.key("Finance/Bank.QVR")));
    EXPECT_TRUE(fs::exists(trash.files() / "Bank.QVR"));
    EXPECT_EQ(node(profile.key("Finance/Bank.QVR")), nullptr);
}

TEST_F(SitesFrameTest, EnterOnADeleteQuestionKeepsTheFolderOrSite)
{
    QtDialogs boxes("Kestrelyn Vormaplex", {});
    SitesFrame asking{{profile.directory(), profile.file(), boxes, launcher, trash}};
    asking.reloadTree();
    std::vector<QString> questions;
    const auto pressEnter = [&questions](QWidget* box) {
        questions.push_back(box->findChild<QLabel*>("qt_msgbox_label")->text());
        QTest::keyClick(box, Qt::Key_Return);
    };
    SitesTreeWidget* tree = asking.TreeView1();
    tree->setCurrentItem(tree->findKey(profile.folderKey("Work")));
    OnNextModalBox(pressEnter);
    asking.mnuDeleteFolder_Click();
    tree->setCurrentItem(tree->findKey(profile.key("Finance/Bank.QVR")));
    OnNextModalBox(pressEnter);
    QTest::keyClick(tree, Qt::Key_Delete);

    ASSERT_EQ(questions.size(), 2u);
    EXPECT_TRUE(questions[0].startsWith("!!! WARNING")) << questions[0].toStdString();
    EXPECT_TRUE(questions[1].startsWith("Are you sure you want to delete the file 'Bank'"));
    EXPECT_TRUE(fs::exists(profile.key("Work/Mail/Deep/Archive.QVR")));
    EXPECT_TRUE(fs::exists(profile.key("Finance/Bank.QVR")));
}

TEST_F(SitesFrameTest, ARightClickShowsTheClickedSitesVelotripMark)
{
    WriteSecureValue("Main", "VELOTRIP", " 1 ", profile.key("Finance/Bank.QVR"));
    node(profile.folderKey("Finance"))->setExpanded(true);
    QAction* velotrip = action(frame.mnuFiles(), "mnuVelotrip");
    const auto rightClick = [this](const std::string& key) {
        QTest::mouseClick(tree()->viewport(), Qt::RightButton, {},
                          tree()->visualItemRect(node(key)).center());
        EXPECT_TRUE(frame.mnuFiles()->isVisible());
        frame.mnuFiles()->hide();
    };
    rightClick(profile.key("Finance/Bank.QVR"));
    EXPECT_TRUE(velotrip->isChecked());
    rightClick(profile.key("Old.QVR"));
    EXPECT_FALSE(velotrip->isChecked());

    tree()->setCurrentItem(node(profile.key("Finance/Bank.QVR")));
    QTest::keyClick(tree(), Qt::Key_Menu);
    EXPECT_TRUE(velotrip->isChecked()) << "the context-menu key shows the mark too";
    frame.mnuFiles()->hide();
}

TEST_F(SitesFrameTest, TheCaptureLogShowsEveryDecisionNewestLastInView)
{
    CaptureLog earlier;
    earlier.add("Site is known: https://a.example/");
    SitesFrame later{
        {profile.directory(), profile.file(), dialogs, launcher, trash, nullptr, nullptr, &earlier}};
    auto* list = later.findChild<QListWidget*>("List4");
    ASSERT_NE(list, nullptr);
    later.resize(500, 400);
    later.show();
    EXPECT_TRUE(list->isVisible());
    ASSERT_EQ(list->count(), 1) << "lines from before the list opened are shown";
    for (int n = 0; n < 20; ++n)
        earlier.add("User is saving site: https://b.example/" + std::to_string(n));
    ASSERT_EQ(list->count(), 21);
    EXPECT_EQ(list->item(20)->text(), "User is saving site: https://b.example/19");
    EXPECT_TRUE(list->viewport()->rect().intersects(list->visualItemRect(list->item(20))));
}

TEST_F(SitesFrameTest, CommandsWithoutASelectedNodeAskForOne)
{
    tree()->setCurrentItem(nullptr);
    frame.TreeView1_DblClick();
    frame.mnuNewFolder_Click();
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>(2, std::string(kSelectASite)));
}

TEST_F(SitesFrameTest, LoginCommandsAreVisiblyUnavailableWithoutALoginEngine)
{
    EXPECT_FALSE(frame.findChild<QPushButton*>("cmd_LaunchAndLogin")->isEnabled());
    EXPECT_FALSE(frame.findChild<QPushButton*>("cmdGoToSite")->isEnabled());
    EXPECT_FALSE(action(frame.mnuFiles(), "mnuLogin")->isEnabled());
    EXPECT_FALSE(action(frame.mnuFiles(), "mnuVelotrip")->isEnabled());
    EXPECT_FALSE(action(frame.mnuFolders(), "mnuLoginAllSites")->isEnabled());
    EXPECT_TRUE(frame.findChild<QPushButton*>("cmdBlock")->isEnabled());
    EXPECT_EQ(frame.findChild<QPushButton*>("cmdGoToSite")->toolTip(),
              "Launch a new browser window and navigate to target site.");
}

TEST_F(SitesFrameTest, NimbraseShowsItsStateInTheCaption)
{
    QCheckBox* box = frame.chkNimbrase();
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_EQ(box->text(), "Nimbrase - Enabled");
    EXPECT_TRUE(box->font().bold());
    EXPECT_EQ(ReadIniValue("Options", "NIMBRASE", profile.file()), "1");
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_EQ(box->text(), "Nimbrase");
    EXPECT_FALSE(box->font().bold());
    EXPECT_EQ(ReadIniValue("Options", "NIMBRASE", profile.file()), "0");
}

TEST_F(SitesFrameTest, SiteDetailsEditOnlyTheEditableItemsAndSaveThem)
{
    frmSiteDetails details(profile.key("Finance/Bank.QVR"), dialogs);
    details.show();
    PropertyGrid* grid = details.wndPropertyGrid();
    ASSERT_EQ(grid->itemCount(), 12);
    EXPECT_TRUE(grid->category()->isExpanded());
    EXPECT_FALSE(grid->editValue(2)) << "the URL is read-only";
    ASSERT_TRUE(grid->editValue(0));
    auto* editor = grid->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "My bank");
    FinishEditing(editor);
    EXPECT_EQ(grid->value(0), "My bank");
    EXPECT_FALSE(details.lblOptionsSaved()->isVisible());
    QTest::mouseClick(details.cmdSaveOptions(), Qt::LeftButton);
    EXPECT_TRUE(details.lblOptionsSaved()->isVisible());
    EXPECT_EQ(*ReadSecureValue("Main", "SITEFRIENDLYNAME", profile.key("Finance/Bank.QVR")), "My bank");
}

// A site file that is a link: writing through it would leave the old password where it points.
TEST_F(SitesFrameTest, ALinkedSiteShowsAsDamagedAndItsDetailsAreNeverWrittenThroughIt)
{
    const fs::path target = profile.makeSite(".store/elsewhere.txt");
    const std::string before = FileText(target);
    fs::create_symlink(target, profile.key("Linked.QVR"));
    frame.reloadTree();
    QTreeWidgetItem* linked = node(profile.key("Linked.QVR"));
    ASSERT_NE(linked, nullptr);
    EXPECT_EQ(SitesTreeWidget::problem(linked), SiteProblem::Link);
    EXPECT_TRUE(linked->toolTip(0).startsWith("Damaged site"));
    EXPECT_EQ(SitesTreeWidget::problem(node(profile.key("Old.QVR"))), SiteProblem::None);

    frmSiteDetails details(profile.key("Linked.QVR"), dialogs);
    details.show();
    ASSERT_TRUE(details.wndPropertyGrid()->editValue(0));
    auto* editor = details.wndPropertyGrid()->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "Renamed");
    FinishEditing(editor);
    QTest::mouseClick(details.cmdSaveOptions(), Qt::LeftButton);

    EXPECT_FALSE(details.lblOptionsSaved()->isVisible()) << "a failed save must not say it saved";
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_TRUE(dialogs.messages()[0].starts_with(std::string(kSiteNotWritten)));
    EXPECT_TRUE(fs::is_symlink(profile.key("Linked.QVR")));
    EXPECT_EQ(FileText(target), before);
}

} // namespace
} // namespace kv::test
