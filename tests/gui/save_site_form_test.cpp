#include "browser/capture_texts.h"
#include "browser/save_site_form.h"
#include "common/scripted_dialogs.h"
#include "common/temp_trash.h"
#include "gui_test_support.h"
#include "widgets/sites_tree_widget.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace kv::test {
namespace {

// The profile exists before the form reads its folders.
struct ProfileWithFolder {
    ProfileWithFolder()
    {
        profile.makeFolder("Work");
        profile.makeSite("Work/Mail.QVR");
    }
    TestProfile profile;
};

struct SaveSiteFormTest : ::testing::Test, ProfileWithFolder {
    SaveSiteFormTest() { form.show(); }

    ScriptedDialogs dialogs;
    TempTrash trash;
    SaveSiteDialog logic{"https://www.shop.example/login", profile.directory(), dialogs, trash};
    frmYes form{logic};
};

TEST_F(SaveSiteFormTest, ShowsTheProposedNameAndOnlyFolders)
{
    EXPECT_EQ(form.windowTitle().toStdString(), kSaveSiteCaption);
    EXPECT_EQ(form.txtFriendlyName()->text().toStdString(), logic.initialName());
    EXPECT_TRUE(form.TreeView1()->findKey(profile.folderKey("Work")));
    EXPECT_FALSE(form.TreeView1()->findKey(profile.key("Work/Mail.QVR")));
}

TEST_F(SaveSiteFormTest, TheNameBoxDropsPathCharacters)
{
    form.txtFriendlyName()->clear();
    QTest::keyClicks(form.txtFriendlyName(), "a/b\\c:d");
    EXPECT_EQ(form.txtFriendlyName()->text(), "abcd");
}

// The window system sends Ctrl+letter with its control character as text.
void ControlKey(QWidget* widget, Qt::Key key)
{
    const char16_t control = static_cast<char16_t>(key - Qt::Key_A + 1);
    QTest::sendKeyEvent(QTest::Click, widget, key, QString(QChar(control)), Qt::ControlModifier);
}

TEST_F(SaveSiteFormTest, TheNameBoxKeepsItsEditingKeysAndFiltersPastedText)
{
    QLineEdit* name = form.txtFriendlyName();
    name->setText("Shop");
    ControlKey(name, Qt::Key_A);
    EXPECT_EQ(name->selectedText(), "Shop");
    ControlKey(name, Qt::Key_C);
    EXPECT_EQ(QApplication::clipboard()->text(), "Shop");
    ControlKey(name, Qt::Key_X);
    EXPECT_EQ(name->text(), "");
    ControlKey(name, Qt::Key_Z);
    EXPECT_EQ(name->text(), "Shop");

    QApplication::clipboard()->setText("My/Bank: 2");
    name->setCursorPosition(2);
    ControlKey(name, Qt::Key_V);
    EXPECT_EQ(name->text(), "ShMyBank 2op");
    EXPECT_EQ(name->cursorPosition(), 10) << "the caret stays after what was pasted";
}

TEST_F(SaveSiteFormTest, SaveHandsBackTheChosenFolderAndName)
{
    form.txtFriendlyName()->setText("Shop");
    ASSERT_TRUE(form.selectKey(profile.folderKey("Work")));

    QTest::mouseClick(form.cmdSave(), Qt::LeftButton);

    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(logic.FolderPath(), profile.folderKey("Work"));
    EXPECT_EQ(logic.FriendlyName(), "Shop");
}

TEST_F(SaveSiteFormTest, CancelLeavesNoChoice)
{
    form.txtFriendlyName()->setText("Shop");
    form.selectKey(profile.folderKey("Work"));

    QTest::mouseClick(form.cmdCancel(), Qt::LeftButton);

    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_TRUE(logic.FolderPath().empty());
}

} // namespace
} // namespace kv::test
