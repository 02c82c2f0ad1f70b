// The Options area in the main window, over a real profile, registry and desktop folders: what
// opening it shows, what the clicks change at once, and where a save puts things.
#include "cleanup/browser_cleanup_widget.h"
#include "common/ending_process.h"
#include "common/fake_url_cache.h"
#include "common/scripted_dialogs.h"
#include "common/temp_trash.h"
#include "gui_test_support.h"
#include "mainwindow/main_window_form.h"
#include "mainwindow/option_tabs_widget.h"
#include "mainwindow/options_frame.h"
#include "mainwindow/program_lock.h"
#include "platform/autostart_registry_backend.h"
#include "platform/xdg_desktop_shell.h"
#include "platform/xdg_launcher.h"
#include "startup/program_desktop_entries.h"
#include "startup/run_entry.h"
#include "startup/toolbar_button.h"
#include "storage/ini_values.h"
#include "storage/storage_test_files.h"
#include "support/sqlite_registry_backend.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

namespace kv::test {
namespace {

namespace fs = std::filesystem;

fs::path SourceResources()
{
    return fs::path(KV_SOURCE_DIR) / "resources";
}

struct OptionsFrameTest : ::testing::Test {
    OptionsFrameTest() { WriteIniValue("Options", "EXITWARNING", "0", profile.file()); }
    ~OptionsFrameTest() override { qApp->setStyleSheet(QString()); }

    // The main window with its Options area shown.
    OptionsFrame* open()
    {
        window = std::make_unique<frmMain>(MainWindowContext{profile.directory(),
                                                             profile.file(),
                                                             SourceResources(),
                                                             dialogs,
                                                             launcher,
                                                             trash,
                                                             {},
                                                             {},
                                                             {},
                                                             {},
                                                             {},
                                                             {},
                                                             {},
                                                             {},
                                                             &services});
        window->show();
        QApplication::setActiveWindow(window.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get(), 5000));
        reopen();
        return window->fraOptions();
    }
    // Another area, then Options again: every control is loaded anew.
    void reopen()
    {
        QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
        QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
        ASSERT_TRUE(window->fraOptions()->isVisible());
    }
    static QAbstractButton* option(QButtonGroup* group, int index) { return group->button(index); }

    fs::path autostartFile() const { return home / "config" / "autostart" / "kestrelyn-vormaplex.desktop"; }

    TempDir home;
    TestProfile profile;
    ScriptedDialogs dialogs;
    RecordingLauncher launcher;
    TempTrash trash;
    EndingProcess process;
    SqliteRegistryBackend store{home / "registry"};
    AutostartRegistryBackend backend{store, autostartFile()};
    clsRegAccess registry{backend};
    const fs::path program = "/opt/kv/bin/kestrelyn-vormaplex";
    const fs::path icon = SourceResources() / "icons" / "kestrelyn-vormaplex.svg";
    XdgLauncher menu{home / "data", program, icon};
    ProgramDesktopEntries entries{registry, menu, program, icon};
    FakeUrlCache cache;
    BrowserCleanup cleanup{cache};
    XdgDesktopShell shell;
    BrowserCleanupPanel cleanupPanel{cleanup, cache, profile.file(), dialogs, shell};
    BrowserCleanupWidget* cleanupBoxes = new BrowserCleanupWidget(cleanupPanel);
    OptionsAreaServices services{process,
                                 registry,
                                 entries,
                                 program,
                                 nullptr,
                                 {{"Control", "Alt", "Shift"}, {"Up", "Home"}},
                                 OptionsCleanupPart{cleanupBoxes, [this] { cleanupBoxes->loadOptions(); },
                                                    [this] { cleanupBoxes->saveOptions(); },
                                                    cleanupBoxes->tabOrder()}};
    std::unique_ptr<frmMain> window;
};

TEST_F(OptionsFrameTest, OpeningShowsEveryStoreAndSavingPutsTheFilesWhereTheDesktopLooks)
{
    WriteRunEntry(registry, program);
    WriteIniValue("Options", "MINIE", "1", profile.file());
    WriteIniValue("Options", "HOTKEYON", "1", profile.file());
    WriteIniValue("Options", "HOLDKEY", "Alt", profile.file());
    WriteIniValue("Options", "PRESSKEY", "Home", profile.file());
    OptionsFrame* options = open();

    EXPECT_EQ(options->SSTab2()->tabText(1), "Advanced");
    EXPECT_EQ(options->chkStartupRun()->text(), "Start program when I log in");
    EXPECT_EQ(options->chkexitprompt()->toolTip(), "Check here to be alerted when closing program");
    EXPECT_TRUE(options->chkStartupRun()->isChecked());
    EXPECT_FALSE(options->chkQuickLaunch()->isChecked());
    EXPECT_FALSE(options->chkBHO()->isChecked());
    EXPECT_TRUE(options->chkMinIE()->isChecked());
    EXPECT_FALSE(options->chkMaxIE()->isChecked());
    EXPECT_FALSE(options->chkexitprompt()->isChecked());
    EXPECT_TRUE(options->chkHotkey()->isChecked());
    EXPECT_TRUE(options->cmbHoldKey()->isEnabled());
    EXPECT_EQ(options->cmbHoldKey()->currentText(), "Alt");
    EXPECT_EQ(options->cmbPressKey()->currentText(), "Home");
    EXPECT_FALSE(options->chkSecure()->isChecked());
    EXPECT_FALSE(options->Frame3()->isEnabled());
    EXPECT_FALSE(options->lblOptionsSaved()->isVisibleTo(options));

    options->chkQuickLaunch()->click();
    options->chkBHO()->click();
    options->chkStartupRun()->click();
    options->chkMaxIE()->click();
    EXPECT_FALSE(options->chkMinIE()->isChecked()) << "at most one of the two";
    options->txtloginnum()->setText("3");
    options->cmdSaveOptions()->click();

    EXPECT_TRUE(dialogs.messages().empty());
    EXPECT_TRUE(options->lblOptionsSaved()->isVisibleTo(options));
    EXPECT_NE(FileText(menu.entryFile()).find("Exec=\"/opt/kv/bin/kestrelyn-vormaplex\"\n"),
              std::string::npos);
    EXPECT_EQ(FileText(menu.iconFile()), FileText(icon));
    EXPECT_FALSE(fs::exists(autostartFile()));
    EXPECT_TRUE(ToolbarButtonPresent(registry));
    EXPECT_EQ(ReadIniValue("Options", "MAXIE", profile.file()), "1");
    EXPECT_EQ(ReadIniValue("Options", "MINIE", profile.file()), "0");

    // Opening again shows the stores as they are now, not as the boxes were left.
    fs::remove(menu.entryFile());
    reopen();
    EXPECT_FALSE(options->chkQuickLaunch()->isChecked());
    EXPECT_TRUE(options->chkBHO()->isChecked());
    EXPECT_FALSE(options->lblOptionsSaved()->isVisibleTo(options));
}

TEST_F(OptionsFrameTest, TheLoginTabFollowsItsChecksAndAMismatchWritesNothing)
{
    OptionsFrame* options = open();
    EXPECT_EQ(options->Option2()->checkedId(), kNoOption);
    options->chkSecure()->click();
    EXPECT_TRUE(options->Frame3()->isEnabled());
    EXPECT_EQ(options->Option2()->checkedId(), 0);
    EXPECT_FALSE(options->fraSecure()->isEnabled());
    option(options->Option2(), 2)->click();
    EXPECT_TRUE(options->fraSecure()->isEnabled());
    EXPECT_EQ(options->txtPass()->echoMode(), QLineEdit::Password);

    options->txtLogin()->setText("Carol");
    options->txtPass()->setText("one");
    options->txtPass1()->setText("two");
    options->txtloginnum()->setText("3");
    options->chkBHO()->click();
    const std::string before = FileText(profile.file());
    options->cmdSaveOptions()->click();
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"Your passwords do not match please correct."});
    EXPECT_EQ(FileText(profile.file()), before);
    EXPECT_FALSE(ToolbarButtonPresent(registry));
    EXPECT_FALSE(options->lblOptionsSaved()->isVisibleTo(options));

    options->chkSecure()->click();
    EXPECT_EQ(options->Option2()->checkedId(), kNoOption);
    EXPECT_TRUE(options->txtLogin()->text().isEmpty());
    EXPECT_FALSE(options->Frame3()->isEnabled());
}

// The cleanup boxes sit in the Browser tab: loaded first by each opening (a new profile gets
// "Delete all on exit"), saved in their turn, and in the tab's order after its own controls.
TEST_F(OptionsFrameTest, TheBrowserTabHostsTheCleanupBoxes)
{
    cache.addBrowsingLeftovers();
    OptionsFrame* options = open();
    EXPECT_EQ(cleanupBoxes->parentWidget(), options->chkBHO()->parentWidget());
    EXPECT_TRUE(cleanupBoxes->chkDelAll()->isChecked());
    EXPECT_EQ(ReadIniValue("Options", "BROWSERDELETEALL", profile.file()), "1");
    EXPECT_EQ(ReadIniValue("Options", "BROWSERDELETEPROMPT", profile.file()), "1");
    EXPECT_EQ(cleanupBoxes->txtTotal()->text(), "10");

    cleanupBoxes->chkDelAll()->click();
    cleanupBoxes->chkDeletePrompt()->click();
    options->txtloginnum()->setText("3");
    options->cmdSaveOptions()->click();
    EXPECT_EQ(ReadIniValue("Options", "BROWSERDELETEALL", profile.file()), "0");
    EXPECT_EQ(ReadIniValue("Options", "BROWSERDELETEPROMPT", profile.file()), "0");

    options->SSTab2()->setCurrentIndex(2);
    EXPECT_EQ(options->chkBHO()->nextInFocusChain(), cleanupBoxes->tabOrder().front());
}

TEST_F(OptionsFrameTest, TheIdleLockMinutesAreSavedShownAgainAndTimeTheLock)
{
    OptionsFrame* options = open();
    EXPECT_EQ(options->spnLockIdleMinutes()->value(), 0);
    EXPECT_TRUE(options->lblLockOff()->isVisibleTo(options)) << "a profile without a login has no lock";
    options->chkSecure()->click();
    EXPECT_FALSE(options->lblLockOff()->isVisibleTo(options));
    options->spnLockIdleMinutes()->setValue(5);
    options->txtloginnum()->setText("3");
    options->cmdSaveOptions()->click();
    EXPECT_TRUE(dialogs.messages().empty());

    options->spnLockIdleMinutes()->setValue(9);
    reopen();
    EXPECT_EQ(options->spnLockIdleMinutes()->value(), 5);
    EXPECT_FALSE(options->lblLockOff()->isVisibleTo(options));

    // The lock takes the saved minutes on its next check.
    std::chrono::steady_clock::time_point now{};
    bool hidden = false;
    ProgramLock lock(profile.file(), [&now] { return now; },
                     {[&hidden] { hidden = true; }, [] {}, [] { return true; }, [] { return true; }});
    now += std::chrono::minutes(4);
    lock.idleCheck();
    EXPECT_FALSE(hidden);
    now += std::chrono::minutes(1);
    lock.idleCheck();
    EXPECT_TRUE(hidden);
}

TEST_F(OptionsFrameTest, OnlyTheShownTabTakesTheFocusInItsOrder)
{
    OptionsFrame* options = open();
    EXPECT_EQ(options->chkSecure()->focusPolicy(), Qt::StrongFocus);
    EXPECT_EQ(options->chkMaxIE()->focusPolicy(), Qt::NoFocus);
    options->SSTab2()->setCurrentIndex(2);
    EXPECT_EQ(options->chkSecure()->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(options->chkMaxIE()->focusPolicy(), Qt::StrongFocus);
    EXPECT_EQ(options->chkMaxIE()->nextInFocusChain(), options->chkMinIE());
    EXPECT_EQ(options->chkMinIE()->nextInFocusChain(), options->chkBHO());
}

TEST_F(OptionsFrameTest, SkinsApplyAtOnceAndCustomOffersItsButtonsInstead)
{
    OptionsFrame* options = open();
    options->SSTab2()->setCurrentIndex(3);
    option(options->optSkins(), 2)->click();
    EXPECT_TRUE(qApp->styleSheet().startsWith("/* Royal"));
    EXPECT_EQ(ReadIniValue("Options", "SKIN", profile.file()), "2");
    EXPECT_FALSE(options->cmdBrowseSkin()->isVisibleTo(options));

    option(options->optSkins(), 4)->click();
    EXPECT_TRUE(options->cmdBrowseSkin()->isVisibleTo(options));
    EXPECT_TRUE(options->cmdLaunchSkinSite()->isVisibleTo(options));
    EXPECT_TRUE(qApp->styleSheet().startsWith("/* Royal")) << "Custom waits for its file";
    EXPECT_EQ(ReadIniValue("Options", "SKIN", profile.file()), "4");
    options->cmdLaunchSkinSite()->click();
    EXPECT_EQ(launcher.opened, std::vector<std::string>{"https://www.kestrelyn.example/skins.asp"});
}

TEST_F(OptionsFrameTest, AnAutostartFolderThatCannotBeWrittenShowsTheTruthWithoutAMessage)
{
    fs::create_directories(autostartFile().parent_path().parent_path());
    std::ofstream(autostartFile().parent_path()) << "a file where the folder belongs";
    OptionsFrame* options = open();
    options->chkStartupRun()->click();
    options->txtloginnum()->setText("3");
    options->cmdSaveOptions()->click();
    EXPECT_TRUE(dialogs.messages().empty());
    EXPECT_TRUE(options->lblOptionsSaved()->isVisibleTo(options));
    reopen();
    EXPECT_FALSE(options->chkStartupRun()->isChecked());
}

} // namespace
} // namespace kv::test
