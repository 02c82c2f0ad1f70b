// The Tools, Time Saved, Security Audit and Import/Export areas as the user drives them.
#include "common/scripted_dialogs.h"
#include "common/temp_trash.h"
#include "gui_test_support.h"
#include "mainwindow/checksecure_form.h"
#include "mainwindow/import_export_frame.h"
#include "mainwindow/security_audit_frame.h"
#include "mainwindow/sites_frame.h"
#include "mainwindow/time_saved_frame.h"
#include "mainwindow/tools_frame.h"
#include "platform/desktop_shell.h"
#include "storage/ini_values.h"
#include "tools/exchange_texts.h"
#include "tools/tools_texts.h"
#include "widgets/qt_clipboard.h"
#include "widgets/sites_tree_widget.h"

#include <QAction>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <fstream>
#include <gtest/gtest.h>

namespace kv::test {
namespace {

// Timers that never fire on their own: the tests here look at what is copied.
SecretClipboard::Schedule NoTimers()
{
    return [](std::chrono::milliseconds, std::function<void()>) {};
}

class RecordingShell : public DesktopShell {
public:
    void open(std::string_view path) override { opened.emplace_back(path); }
    void lockSession() override {}
    std::vector<std::string> opened;
};

std::string ClipboardText()
{
    return QGuiApplication::clipboard()->text().toStdString();
}

TEST(ToolsFrame, GeneratesAndCopiesTheClickedPassword)
{
    ScriptedDialogs dialogs;
    QtClipboard clipboard;
    SecretClipboard secrets(clipboard, NoTimers());
    ToolsFrame frame(dialogs, secrets);
    frame.show();
    frame.selectOption(2);
    frame.SpinFx1()->setValue(8);
    frame.Text1()->setText("3");
    frame.findChild<QPushButton*>("cmdGeneratePassword")->click();
    ASSERT_EQ(frame.lstPasswords()->count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(QRegularExpression("^[0-9]{8}$").match(frame.lstPasswords()->item(i)->text()).hasMatch());
    QListWidgetItem* second = frame.lstPasswords()->item(1);
    const QRect where = frame.lstPasswords()->visualItemRect(second);
    QTest::mouseClick(frame.lstPasswords()->viewport(), Qt::LeftButton, {}, where.center());
    EXPECT_EQ(ClipboardText(), second->text().toStdString());

    frame.SpinFx1()->setValue(3);
    frame.findChild<QPushButton*>("cmdGeneratePassword")->click();
    EXPECT_EQ(frame.lstPasswords()->count(), 0);
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{std::string(kLengthTooShort)});
}

TEST(SitesFrameCopy, CopiesTheSelectedSitesPasswordAndLogin)
{
    TestProfile profile;
    const auto site = profile.makeSite("Bank.QVR");
    WriteSecureValue(kMainSection, FORMPASSVALUE, "S3cret!", site);
    ScriptedDialogs dialogs;
    RecordingLauncher launcher;
    QtClipboard clipboard;
    SecretClipboard secrets(clipboard, NoTimers());
    TempTrash trash;
    SitesFrame frame({profile.directory(), profile.file(), dialogs, launcher, trash, nullptr, &secrets});
    frame.reloadTree();
    frame.show();
    frame.TreeView1()->setCurrentItem(frame.TreeView1()->findKey(site.string()));
    frame.mnuCopyPassword_Click();
    EXPECT_EQ(ClipboardText(), "S3cret!");
    frame.mnuCopyLogin_Click();
    EXPECT_EQ(ClipboardText(), "alice");
    QStringList names;
    for (QAction* action : frame.mnuFiles()->actions())
        names << action->objectName();
    EXPECT_TRUE(names.contains("mnuCopyPassword") && names.contains("mnuCopyLogin"));
}

TEST(TimeSavedFrame, ShowsTheTotalAndTheTimeForTheChosenSeconds)
{
    TestProfile profile;
    WriteSecureValue(kStatsSection, SUCCESS, "2", profile.makeSite("A.QVR"));
    WriteSecureValue(kStatsSection, SUCCESS, "1", profile.makeSite("Sub/B.QVR"));
    TimeSavedFrame frame(profile.directory());
    frame.show();
    frame.refresh();
    EXPECT_EQ(frame.Label14()->text().toStdString(),
              "You have logged into 3 sites automatically with Vormaplex.");
    EXPECT_EQ(frame.figure(3)->text(), "15");
    frame.cmbTimePerLogin()->setCurrentIndex(11); // 60 seconds
    EXPECT_EQ(frame.figure(2)->text(), "3");
    EXPECT_EQ(frame.figure(3)->text(), "0");
    EXPECT_EQ(frame.Label44()->text().toStdString(),
              "If the average time it takes to login manually is 60 seconds.");
}

TEST(SecurityAuditFrame, ListsSortsAndOpensTheDetailsOnPlainEnterOnly)
{
    TestProfile profile;
    WriteSecureValue(kMainSection, SITEFRIENDLYNAME, "Zeta", profile.makeSite("Z.QVR"));
    WriteSecureValue(kMainSection, FORMPASSVALUE, "Shared#42", profile.directory() / "Z.QVR");
    WriteSecureValue(kMainSection, SITEFRIENDLYNAME, "Alpha", profile.makeSite("Sub/A.QVR"));
    WriteSecureValue(kMainSection, FORMPASSVALUE, "Shared#42", profile.directory() / "Sub" / "A.QVR");
    SecurityAuditFrame frame(profile.directory());
    frame.show();
    frame.fill();
    QTreeWidget* list = frame.ListView1();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->headerItem()->text(3), "Reused");
    EXPECT_EQ(list->topLevelItem(0)->text(0), "Alpha");
    EXPECT_EQ(list->topLevelItem(0)->text(3), "Yes");
    list->header()->sectionClicked(0);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "Zeta");
    list->header()->sectionClicked(0);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "Alpha");

    int opened = 0;
    QObject::connect(&frame, &SecurityAuditFrame::detailsOpening, [&](QWidget* details) {
        ++opened;
        auto* form = static_cast<frmChecksecure*>(details);
        EXPECT_EQ(form->Label2()->text(), "5");
        EXPECT_EQ(form->Label4()->text(), "Secure");
        EXPECT_EQ(form->mark(3)->text(), "X");
        ASSERT_EQ(form->sharedWith()->count(), 1);
        EXPECT_EQ(form->sharedWith()->item(0)->text(), "Zeta");
        QTimer::singleShot(0, form, [form] { QTest::keyClick(form, Qt::Key_Escape); });
    });
    list->setFocus();
    list->setCurrentItem(list->topLevelItem(0));
    QTest::keyClick(list, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(opened, 0);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(opened, 1);
}

struct ImportExportFrameTest : ::testing::Test {
    ImportExportFrameTest()
    {
        WriteSecureValue(kMainSection, SITEFRIENDLYNAME, "Bank", profile.makeSite("Money/Bank.QVR"));
        parent.resize(600, 400);
        parent.show();
    }
    QWidget* page(const char* name) const { return parent.findChild<QWidget*>(name); }
    void click(const char* name) const { parent.findChild<QPushButton*>(name)->click(); }

    TestProfile profile;
    TempDir home;
    ScriptedDialogs dialogs;
    RecordingShell shell;
    int printed = 0;
    QWidget parent;
    ImportExportFrame* frame = new ImportExportFrame(
        {profile.directory(), home.path(), dialogs, &shell, [this] { ++printed; }}, &parent);
};

TEST_F(ImportExportFrameTest, ExportsTheCheckedSitesToTheChosenFolder)
{
    frame->OptionImportExport_Click(0);
    EXPECT_TRUE(parent.findChild<QPushButton*>("cmdExport")->isVisible());
    EXPECT_FALSE(parent.findChild<QPushButton*>("CmdPrint")->isVisible());
    click("cmdExport");
    ASSERT_TRUE(page("fraExport1")->isVisible());
    ASSERT_EQ(frame->ListView3()->topLevelItemCount(), 1);
    EXPECT_EQ(frame->ListView3()->topLevelItem(0)->text(0), "Bank");
    click("cmdExportNext1");
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"You must export at least 1 site."});
    click("cmdExportSelectAll");
    EXPECT_EQ(parent.findChild<QPushButton*>("cmdExportSelectAll")->text(), "Uncheck all");
    click("cmdExportNext1");
    ASSERT_TRUE(page("fraExport2")->isVisible());
    EXPECT_EQ(frame->txtExportDir()->text().toStdString(),
              (home.path() / "Kestrelyn Exported Sites").string());
    click("cmdFinishExport");
    EXPECT_TRUE(std::filesystem::exists(home.path() / "Kestrelyn Exported Sites" / "Bank.QVR"));
    EXPECT_EQ(dialogs.messages().back(), "Export Completed");
    EXPECT_EQ(shell.opened, std::vector<std::string>{(home.path() / "Kestrelyn Exported Sites").string()});
    EXPECT_TRUE(frame->isVisible());
}

TEST_F(ImportExportFrameTest, ImportsFromAFolderAndFromACsvFileAndPrints)
{
    std::filesystem::create_directories(home.path() / "In");
    WriteIniValue("Main", FORMPASSVALUE, "imported", home.path() / "In" / "Shop.QVR");
    click("cmdImport");
    ASSERT_TRUE(page("fraImport1")->isVisible());
    frame->txtImportDir()->setText(QString::fromStdString((home.path() / "In").string()));
    click("cmdImportNext1");
    ASSERT_TRUE(page("fraImport2")->isVisible());
    click("cmdImportSelectAll");
    click("cmdFinishImport");
    EXPECT_EQ(ReadSecureValue(kMainSection, FORMPASSVALUE, profile.directory() / "Shop.QVR").value_or(""),
              "imported");
    EXPECT_EQ(dialogs.messages().back(), std::string(kImportCompleted));

    std::ofstream(home.path() / "export.csv")
        << "name,url,username,password\nMail,https://mail.example,me,pw\n";
    click("cmdImportCsv");
    ASSERT_TRUE(page("fraImportCsv")->isVisible());
    frame->txtCsvFile()->setText(QString::fromStdString((home.path() / "export.csv").string()));
    click("cmdFinishCsvImport");
    EXPECT_EQ(ReadSecureValue(kMainSection, FORMLOGINVALUE, profile.directory() / "Mail.QVR").value_or(""),
              "me");
    EXPECT_TRUE(frame->isVisible());

    frame->OptionImportExport_Click(2);
    click("CmdPrint");
    EXPECT_EQ(printed, 1);
}

} // namespace
} // namespace kv::test
