#include "common/scripted_dialogs.h"
#include "common/temp_trash.h"
#include "gui_test_support.h"
#include "hotkeys/hotkey_registration.h"
#include "hotkeys/recording_global_hotkeys.h"
#include "mainwindow/area_table.h"
#include "mainwindow/hotkeys_frame.h"
#include "mainwindow/main_window_form.h"
#include "storage/ini_values.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace kv::test {
namespace {

QStringList Entries(const QListWidget* list)
{
    QStringList entries;
    for (int row = 0; row < list->count(); ++row)
        entries << list->item(row)->text();
    return entries;
}

struct HotkeysAreaTest : ::testing::Test {
    HotkeysAreaTest()
    {
        WriteIniValue("Options", "EXITWARNING", "0", profile.file());
        profile.makeSite("Mail.QVR");
        profile.makeSite("Work/Wiki.QVR");
        profile.makeSite("Work/Bank.QVR");
        WriteIniValue("Hotkey1", "HOTKEYNUMBER1", "Bank", profile.file());
        WriteIniValue("Hotkey2", "HOTKEYLOCK", "1", profile.file());
    }

    std::unique_ptr<frmMain> open()
    {
        auto window =
            std::make_unique<frmMain>(MainWindowContext{profile.directory(),
                                                        profile.file(),
                                                        std::filesystem::path(KV_SOURCE_DIR) / "resources",
                                                        dialogs,
                                                        launcher,
                                                        trash,
                                                        {},
                                                        {},
                                                        &registration,
                                                        {},
                                                        {},
                                                        {},
                                                        {},
                                                        {}});
        window->show();
        return window;
    }
    static void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    TestProfile profile;
    ScriptedDialogs dialogs;
    RecordingLauncher launcher;
    TempTrash trash;
    RecordingGlobalHotkeys desktop;
    HotkeyRegistration registration{desktop, dialogs, profile.file()};
};

TEST_F(HotkeysAreaTest, TheWindowRegistersTheHotkeysAsItLoads)
{
    auto window = open();
    EXPECT_EQ(desktop.held, (std::map<int, Combination>{{1, {kHotkeyModControl, 112}}}));
}

TEST_F(HotkeysAreaTest, OpeningTheAreaShowsTheFirstHotkeyWithItsControls)
{
    auto window = open();
    HotkeysFrame* area = window->fraHotkey();
    area->cmbHotkey()->setCurrentIndex(4);
    window->selectBarPosition(kAreaHotkeys - 1);

    ASSERT_TRUE(area->isVisible());
    EXPECT_EQ(area->objectName(), "fraHotkey");
    EXPECT_EQ(area->cmbHotkey()->currentText(), "Ctrl + F1");
    EXPECT_EQ(area->cmbHotkey()->count(), 10);
    EXPECT_EQ(area->cmbHotkey()->itemText(9), "Ctrl + F10");
    EXPECT_EQ(Entries(area->List3()), QStringList{"Bank"});
    EXPECT_EQ(Entries(area->List2()), (QStringList{"Mail", "Wiki"}));
    EXPECT_FALSE(area->chkLockonhotkey()->isChecked());
    EXPECT_FALSE(area->Label15()->isVisible());
    EXPECT_EQ(area->cmdHotkeyOK()->text(), "&Save changes");
    EXPECT_EQ(area->chkLockonhotkey()->text(), "Lock on hotkey execution");
    EXPECT_EQ(area->List2()->toolTip(), "Sites available for hotkey addition.");
    EXPECT_EQ(area->cmdAddHotkey()->toolTip(), "Add to hotkey");
    EXPECT_EQ(area->cmdRemoveHotkey()->toolTip(), "Remove from hotkey");

    area->cmbHotkey()->setCurrentIndex(1);
    EXPECT_TRUE(Entries(area->List3()).isEmpty());
    EXPECT_EQ(Entries(area->List2()).size(), 3);
    EXPECT_TRUE(area->chkLockonhotkey()->isChecked());
}

TEST_F(HotkeysAreaTest, AddRemoveAndSaveGoThroughTheButtons)
{
    auto window = open();
    window->selectBarPosition(kAreaHotkeys - 1);
    HotkeysFrame* area = window->fraHotkey();

    click(area->cmdAddHotkey()); // nothing selected: nothing happens
    EXPECT_EQ(Entries(area->List3()), QStringList{"Bank"});
    area->List2()->setCurrentRow(0);
    click(area->cmdAddHotkey());
    EXPECT_EQ(Entries(area->List3()), (QStringList{"Bank", "Mail"}));
    EXPECT_EQ(area->List2()->currentItem()->text(), "Wiki");
    area->List3()->setCurrentRow(0);
    click(area->cmdRemoveHotkey());
    EXPECT_EQ(Entries(area->List3()), QStringList{"Mail"});

    area->chkLockonhotkey()->setChecked(true);
    click(area->cmdHotkeyOK());
    EXPECT_TRUE(area->Label15()->isVisible());
    EXPECT_EQ(area->Label15()->text(), "Hotkey Saved");
    EXPECT_EQ(ReadIniValue("Hotkey1", "HOTKEYNUMBER1", profile.file()), "Mail");
    EXPECT_EQ(ReadIniValue("Hotkey1", "HOTKEYNUMBER2", profile.file()), "");
    EXPECT_EQ(ReadIniValue("Hotkey1", "HOTKEYLOCK", profile.file()), "1");
    EXPECT_EQ(desktop.calls.back(), "register 1");
    EXPECT_TRUE(dialogs.messages().empty());

    area->cmbHotkey()->setCurrentIndex(2);
    EXPECT_FALSE(area->Label15()->isVisible());
}

// What the hide/show key asks of the window: its dialogs are found and closed by form name.
TEST_F(HotkeysAreaTest, TheWindowFindsAndClosesItsDialogsAndHidesItself)
{
    auto window = open();
    QDialog saveSite;
    saveSite.setObjectName("frmYes");
    QDialog details;
    details.setObjectName("frmSiteDetails");
    EXPECT_FALSE(window->dialogOpen(HotkeyDialog::SaveSite));
    saveSite.show();
    details.show();
    EXPECT_TRUE(window->dialogOpen(HotkeyDialog::SaveSite));
    EXPECT_TRUE(window->dialogOpen(HotkeyDialog::SiteDetails));
    EXPECT_FALSE(window->dialogOpen(HotkeyDialog::AddSite));

    window->closeDialog(HotkeyDialog::SiteDetails);
    EXPECT_FALSE(details.isVisible());
    EXPECT_TRUE(saveSite.isVisible());

    window->setWindowVisible(false);
    EXPECT_FALSE(window->windowVisible());
    window->setWindowVisible(true);
    EXPECT_TRUE(window->windowVisible());
}

} // namespace
} // namespace kv::test
