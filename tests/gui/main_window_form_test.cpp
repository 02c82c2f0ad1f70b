#include "common/scripted_dialogs.h"
#include "common/temp_trash.h"
#include "gui_test_support.h"
#include "mainwindow/about_frame.h"
#include "mainwindow/area_table.h"
#include "mainwindow/blocked_sites_frame.h"
#include "mainwindow/credits_widget.h"
#include "mainwindow/help_address.h"
#include "mainwindow/main_window_form.h"
#include "mainwindow/main_window_texts.h"
#include "mainwindow/qt_command_bar.h"
#include "storage/ini_values.h"
#include "version.h"
#include "widgets/shortcut_bar_widget.h"
#include "widgets/sites_tree_widget.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace kv::test {
namespace {

std::filesystem::path SourceResources()
{
    return std::filesystem::path(KV_SOURCE_DIR) / "resources";
}

struct MainWindowFormTest : ::testing::Test {
    MainWindowFormTest()
    {
        WriteIniValue("Options", "EXITWARNING", "0", profile.file());
        profile.makeSite("Mail.QVR");
        profile.makeFolder("Music/Rock");
    }
    ~MainWindowFormTest() override { qApp->setStyleSheet(QString()); }

    std::unique_ptr<frmMain> open()
    {
        auto window = std::make_unique<frmMain>(MainWindowContext{profile.directory(),
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
                                                                  {}});
        window->show();
        QApplication::setActiveWindow(window.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get(), 5000));
        return window;
    }

    // What an area switch leaves visible: the bar position and the shown frames.
    static std::vector<std::string> visibleFrames(frmMain& window)
    {
        std::vector<std::string> shown;
        for (const Area& area : kAreas) {
            QWidget* frame = area.barId == kAreaAbout ? static_cast<QWidget*>(window.aboutElements())
                                                      : window.areaFrame(area.barId);
            if (frame->isVisible())
                shown.push_back(frame->objectName().toStdString());
        }
        return shown;
    }

    TestProfile profile;
    ScriptedDialogs dialogs;
    RecordingLauncher launcher;
    TempTrash trash;
};

TEST_F(MainWindowFormTest, StartsInSitesWithTheTreeFilledFromDisk)
{
    auto window = open();
    EXPECT_EQ(window->windowTitle().toStdString(), kMainWindowCaption);
    EXPECT_EQ(window->wndShortcutBar()->selectedPosition(), 0);
    EXPECT_EQ(visibleFrames(*window), std::vector<std::string>{"fraSites"});
    SitesTreeWidget* tree = window->fraSites()->TreeView1();
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), "Sites");
    EXPECT_NE(tree->findKey(profile.key("Mail.QVR")), nullptr);
    EXPECT_NE(tree->findKey(profile.folderKey("Music/Rock")), nullptr);
    EXPECT_EQ(ReadIniValue("Options", "NIMBRASE", profile.file()), "0");
    EXPECT_EQ(ReadIniValue("Options", "SKIN", profile.file()), "0");
}

TEST_F(MainWindowFormTest, BlockedSitesTakeThePlaceOfTheSitesAreaUntilGoBack)
{
    auto window = open();
    QTest::mouseClick(window->fraSites()->findChild<QPushButton*>("cmdBlock"), Qt::LeftButton);
    BlockedSitesFrame* block = window->fraBlock();
    EXPECT_TRUE(block->isVisible());
    EXPECT_FALSE(window->fraSites()->isVisible()) << "two captions in one place print over each other";
    auto* label = block->findChild<QLabel*>("Label28");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "Blocked URLs");
    EXPECT_TRUE(label->isVisible());

    QTest::mouseClick(block->findChild<QPushButton*>("cmdGoBackToSites"), Qt::LeftButton);
    EXPECT_FALSE(block->isVisible());
    EXPECT_TRUE(window->fraSites()->isVisible());
    EXPECT_NE(window->fraSites()->TreeView1()->findKey(profile.key("Mail.QVR")), nullptr);
}

// Every visible widget below parent lies whole inside its own parent, and no button is
// squeezed below the size its caption needs.
void ExpectNothingCut(const QWidget* parent, const std::string& where)
{
    for (const QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isVisible() || child->isWindow())
            continue;
        const std::string name =
            where + "/" + child->objectName().toStdString() + ":" + child->metaObject()->className();
        EXPECT_TRUE(parent->rect().contains(child->geometry())) << name << " sticks out";
        if (qobject_cast<const QAbstractButton*>(child)) {
            EXPECT_GE(child->width(), child->minimumSizeHint().width()) << name << " is squeezed";
        }
        ExpectNothingCut(child, name);
    }
}

TEST_F(MainWindowFormTest, AtItsSmallestTheWindowShowsEveryAreaWholeAndTheBarScrolls)
{
    auto window = open();
    window->resize(500, 350);
    const QSize smallest =
        QSize(500, 350).expandedTo(window->minimumSizeHint()).expandedTo(window->minimumSize());
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->size() == smallest; }, 5000)) << window->width();
    for (const Area& area : kAreas) {
        window->CommandBars()->action(area.commandId)->trigger();
        ExpectNothingCut(window.get(), std::string(area.barCaption));
    }
    window->CommandBars()->action(kCommandFirstArea)->trigger();
    QTest::mouseClick(window->fraSites()->findChild<QPushButton*>("cmdBlock"), Qt::LeftButton);
    ExpectNothingCut(window.get(), "Blocked Sites");

    ShortcutBar* bar = window->wndShortcutBar();
    QListWidgetItem* last = bar->item(bar->count() - 1);
    bar->scrollToItem(last);
    EXPECT_TRUE(bar->viewport()->rect().contains(bar->visualItemRect(last)))
        << "the last area cannot be reached";
}

TEST_F(MainWindowFormTest, MenuBarCarriesEveryCommandWithItsTexts)
{
    auto window = open();
    CommandBar* bar = window->CommandBars();
    QMenu* menu = bar->popup(0);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), "&Menu");
    EXPECT_EQ(bar->popup(1)->title(), "&Help");
    QList<QAction*> entries = menu->actions();
    ASSERT_EQ(entries.size(), 12);
    EXPECT_TRUE(entries[10]->isSeparator());
    EXPECT_EQ(entries[11]->text(), "&Exit");
    EXPECT_EQ(entries[3]->text(), "&Time Saved");
    EXPECT_EQ(entries[3]->statusTip(), "Print the active document");
    EXPECT_EQ(entries[3]->shortcut(), QKeySequence("Ctrl+M"));
    EXPECT_FALSE(entries[3]->icon().isNull());
    EXPECT_EQ(entries[7]->text(), "&Update");
    EXPECT_TRUE(entries[11]->icon().isNull());
    EXPECT_EQ(bar->action(112)->property("category").toString(), "Online Help");
    EXPECT_EQ(bar->action(110)->property("category").toString(), "Menu");
    EXPECT_EQ(window->wndShortcutBar()->item(7)->text(), "Updates");
}

TEST_F(MainWindowFormTest, CtrlOSelectsOptionsExactlyAsAClickDoes)
{
    auto window = open();
    QSignalSpy shown(window.get(), &frmMain::areaShown);
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(shown.count(), 1);
    EXPECT_EQ(shown.at(0).at(0).toInt(), kAreaOptions);
    EXPECT_EQ(window->wndShortcutBar()->selectedPosition(), 6);
    EXPECT_EQ(visibleFrames(*window), std::vector<std::string>{"fraOptions"});
    EXPECT_EQ(window->fraSites()->TreeView1()->topLevelItemCount(), 0);

    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    ShortcutBar* bar = window->wndShortcutBar();
    QTest::mouseClick(bar->viewport(), Qt::LeftButton, {}, bar->visualItemRect(bar->item(6)).center());
    ASSERT_EQ(shown.count(), 3);
    EXPECT_EQ(shown.at(2).at(0).toInt(), kAreaOptions);
    EXPECT_EQ(visibleFrames(*window), std::vector<std::string>{"fraOptions"});
}

TEST_F(MainWindowFormTest, F5RebuildsTheTreeOnlyInSites)
{
    auto window = open();
    SitesTreeWidget* tree = window->fraSites()->TreeView1();
    profile.makeSite("Added.QVR");
    QTest::keyClick(window.get(), Qt::Key_F5);
    EXPECT_NE(tree->findKey(profile.key("Added.QVR")), nullptr);

    QTest::keyClick(window.get(), Qt::Key_H, Qt::ControlModifier);
    QTest::keyClick(window.get(), Qt::Key_F5);
    EXPECT_EQ(tree->topLevelItemCount(), 0);
    EXPECT_FALSE(window->fraSites()->isVisible());
}

TEST_F(MainWindowFormTest, F1InHotkeysOpensItsHelpPageWithTheVersion)
{
    auto window = open();
    QTest::keyClick(window.get(), Qt::Key_H, Qt::ControlModifier);
    QTest::keyClick(window.get(), Qt::Key_F1);
    ASSERT_EQ(launcher.opened.size(), 1u);
    const std::string expected =
        "/support/hotkeys.asp?version=" + VersionQueryText(kVersionMajor, kVersionMinor, kVersionRevision);
    EXPECT_TRUE(launcher.opened[0].ends_with(expected)) << launcher.opened[0];
    if (kVersionMajor == 2 && kVersionMinor == 0 && kVersionRevision == 7) {
        EXPECT_TRUE(launcher.opened[0].ends_with("?version=002000007"));
    }
}

TEST_F(MainWindowFormTest, ExitWarningNoKeepsTheWindowAndYesCloses)
{
    auto window = open();
    WriteIniValue("Options", "EXITWARNING", "1", profile.file());
    dialogs.answer(Dialogs::Answer::No);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(dialogs.asked(), (std::vector<std::string>{std::string(kExitQuestion)}));
    EXPECT_EQ(ReadIniValue("Options", "LEFT", profile.file()), "");

    dialogs.answer(Dialogs::Answer::Yes);
    window->CommandBars()->action(kCommandExit)->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_NE(ReadIniValue("Options", "LEFT", profile.file()), "");
}

TEST_F(MainWindowFormTest, CentredWithoutAStoredPositionAndRestoredAfterANormalExit)
{
    {
        auto window = open();
        const QRect screen = window->screen()->geometry();
        const QRect frame = window->frameGeometry();
        // Centred before the window manager has framed it: off by at most the frame itself.
        EXPECT_NEAR(frame.left(), (screen.width() - frame.width()) / 2, frame.width() - window->width() + 1);
        EXPECT_NEAR(frame.top(), (screen.height() - frame.height()) / 2,
                    frame.height() - window->height() + 1);
        window->move(45, 30);
        EXPECT_TRUE(window->close());
    }
    const int dpi = qApp->primaryScreen()->logicalDotsPerInchX();
    EXPECT_EQ(ReadIniValue("Options", "LEFT", profile.file()), std::to_string(45 * 1440 / dpi));
    auto again = open();
    EXPECT_EQ(again->frameGeometry().topLeft(), QPoint(45, 30));
}

TEST_F(MainWindowFormTest, AboutShowsTheVersionAndRunsTheCreditsUntilAnotherAreaOpens)
{
    auto window = open();
    window->CommandBars()->action(109)->trigger();
    AboutFrame* about = window->aboutElements();
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->Label16()->text().toStdString(),
              VersionLabel(kVersionMajor, kVersionMinor, kVersionRevision));
    CreditsWidget* credits = about->picBuffer();
    EXPECT_TRUE(credits->running());
    EXPECT_TRUE(QTest::qWaitFor([credits] { return !credits->buffer().isNull(); }, 5000));
    emit about->findChild<QLabel*>("Label155")->linkActivated(QString());
    EXPECT_EQ(launcher.opened, (std::vector<std::string>{HomeAddress()}));
    window->CommandBars()->action(100)->trigger();
    EXPECT_FALSE(credits->running());
    EXPECT_FALSE(about->isVisible());
}

} // namespace
} // namespace kv::test
