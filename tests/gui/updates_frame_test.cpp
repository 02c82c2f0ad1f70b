// The Updates area and the proxy dialog in the main window, wired to the real update logic.
#include "common/ending_process.h"
#include "common/scripted_dialogs.h"
#include "common/temp_trash.h"
#include "common/update_signing.h"
#include "gui_test_support.h"
#include "mainwindow/area_table.h"
#include "mainwindow/main_window_form.h"
#include "mainwindow/main_window_texts.h"
#include "mainwindow/proxy_frame.h"
#include "mainwindow/updates_frame.h"
#include "platform/curl_http_client.h"
#include "platform/qt_gui_thread.h"
#include "platform/qt_interval_timer.h"
#include "storage/ini_values.h"
#include "support/registry_fixture.h"
#include "update/schedule_fakes.h"
#include "update/update_texts.h"
#include "update/updates.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace kv::test {
namespace {

// A click on the option's indicator: its row is wider than the part that takes clicks.
void ClickOption(QRadioButton* option)
{
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
}

struct UpdatesFrameTest : ::testing::Test {
    UpdatesFrameTest()
    {
        WriteIniValue("Options", "EXITWARNING", "0", profile.file());
        // An automatic check coming due while a test runs would talk to nobody; keep it away.
        connection.isOnline = false;
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
                                                        {},
                                                        &updates,
                                                        {},
                                                        {},
                                                        {},
                                                        {}});
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get(), 5000));
        return window;
    }
    UpdatesFrame& showUpdatesArea(frmMain& window)
    {
        window.selectBarPosition(kAreaUpdates - 1);
        EXPECT_TRUE(window.fraUpdates()->isVisible());
        return *window.fraUpdates();
    }

    TestProfile profile;
    TempRegistry registry;
    ScriptedDialogs dialogs;
    RecordingLauncher launcher;
    TempTrash trash;
    EndingProcess process;
    QtGuiThread gui;
    CurlHttpClient http;
    LinuxInstallationProbe installation;
    FixedConnection connection;
    QtIntervalTimer tmrUpdate{std::chrono::seconds(1)};
    // Nothing listens on port 1 of this machine.
    Updates updates{{http,
                     gui,
                     dialogs,
                     launcher,
                     process,
                     registry.registry(),
                     installation,
                     connection,
                     tmrUpdate,
                     profile.directory() / "kestrelyn-vormaplex",
                     profile.file(),
                     {2, 0, 7},
                     TestUpdateKey(),
                     UpdateServers{{"127.0.0.1:1", "127.0.0.2:1"}, "127.0.0.1:1"},
                     {}}};
};

TEST_F(UpdatesFrameTest, StartUpArmsTheScheduleOfAFirstStart)
{
    auto window = open();

    EXPECT_EQ(updates.settings.UpdateCheck(), "Automatic");
    EXPECT_EQ(updates.settings.UpdateFrequency(), "Weekly");
    EXPECT_TRUE(tmrUpdate.enabled());
    EXPECT_EQ(updates.schedule.countdown(), 0);
}

TEST_F(UpdatesFrameTest, OpeningTheAreaShowsTheStoredChoices)
{
    updates.settings.setUpdateCheck("Manual");
    updates.settings.setUpdateFrequency("Monthly");
    auto window = open();
    UpdatesFrame& frame = showUpdatesArea(*window);

    EXPECT_TRUE(frame.optUpdates(1)->isChecked());
    EXPECT_TRUE(frame.cmdManualUpdate()->isVisible());
    EXPECT_TRUE(frame.cmbDownloadSite()->isVisible());
    EXPECT_FALSE(frame.cmdUpdateFrequency()->isVisible());
    EXPECT_EQ(frame.cmdUpdateFrequency()->currentText(), "Monthly");
    EXPECT_EQ(frame.cmbDownloadSite()->currentText(), "127.0.0.1:1");
    EXPECT_FALSE(frame.prgDownload()->isVisible());
    EXPECT_FALSE(tmrUpdate.enabled());
}

TEST_F(UpdatesFrameTest, TheUsersChoicesAreStoredAndTakeEffect)
{
    updates.settings.setUpdateCheck("Manual");
    auto window = open();
    UpdatesFrame& frame = showUpdatesArea(*window);

    ClickOption(frame.optUpdates(0));
    EXPECT_EQ(updates.settings.UpdateCheck(), "Automatic");
    EXPECT_TRUE(frame.cmdUpdateFrequency()->isVisible());
    EXPECT_FALSE(frame.cmdManualUpdate()->isVisible());
    EXPECT_TRUE(tmrUpdate.enabled());

    frame.cmdUpdateFrequency()->setCurrentIndex(0);
    emit frame.cmdUpdateFrequency()->activated(0);
    EXPECT_EQ(updates.settings.UpdateFrequency(), "Daily");

    ClickOption(frame.optUpdates(1));
    EXPECT_EQ(updates.settings.UpdateCheck(), "Manual");
    EXPECT_FALSE(tmrUpdate.enabled());
}

TEST_F(UpdatesFrameTest, AManualCheckRunsWhileTheWindowStaysResponsive)
{
    updates.settings.setUpdateCheck("Manual");
    auto window = open();
    UpdatesFrame& frame = showUpdatesArea(*window);

    QTest::mouseClick(frame.cmdManualUpdate(), Qt::LeftButton);
    EXPECT_EQ(window->windowTitle().toStdString(), kCheckingCaption);
    EXPECT_EQ(frame.lblUpdateStatus()->text().toStdString(), kCheckingStatus);
    EXPECT_TRUE(frame.prgDownload()->isVisible());
    EXPECT_TRUE(dialogs.messages().empty()) << "the click returns before the download has an answer";

    EXPECT_TRUE(QTest::qWaitFor([this] { return !dialogs.messages().empty(); }, 20000));
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{std::string(kManifestNotFound)});
    EXPECT_EQ(window->windowTitle().toStdString(), kMainWindowCaption);
}

TEST_F(UpdatesFrameTest, TheProxyDialogStoresAManualProxyAndShowsItAgain)
{
    auto window = open();
    UpdatesFrame& frame = showUpdatesArea(*window);
    ProxyFrame& proxy = *window->fraProxy();

    QTest::mouseClick(frame.findChild<QPushButton*>("cmd_ProxySetup"), Qt::LeftButton);
    ASSERT_TRUE(proxy.isVisible());
    EXPECT_TRUE(proxy.opt_Proxy(0)->isChecked());
    EXPECT_EQ(ReadIniValue("Options", "PROXYTYPE", profile.file()), "0");
    EXPECT_FALSE(proxy.txt_ProxyAddress()->isVisible());

    ClickOption(proxy.opt_Proxy(2));
    EXPECT_TRUE(proxy.txt_ProxyAddress()->isVisible());
    QTest::keyClicks(proxy.txt_ProxyAddress(), "proxy");
    QTest::keyClicks(proxy.txt_ProxyPort(), "3128");
    QTest::mouseClick(proxy.cmdProxyOK(), Qt::LeftButton);

    EXPECT_FALSE(proxy.isVisible());
    EXPECT_EQ(updates.InternetFile1.ConnectType, kConnectProxy);
    EXPECT_EQ(updates.InternetFile1.ProxyServer, "proxy");
    EXPECT_EQ(updates.InternetFile1.ProxyPort, 3128);
    EXPECT_EQ(ReadIniValue("Options", "PROXYTYPE", profile.file()), "2");

    QTest::mouseClick(frame.findChild<QPushButton*>("cmd_ProxySetup"), Qt::LeftButton);
    EXPECT_TRUE(proxy.opt_Proxy(2)->isChecked());
    EXPECT_EQ(proxy.txt_ProxyAddress()->text(), "proxy");
    EXPECT_EQ(proxy.txt_ProxyPort()->text(), "3128");

    ClickOption(proxy.opt_Proxy(1));
    QTest::mouseClick(proxy.cmdProxyCancel(), Qt::LeftButton);
    EXPECT_FALSE(proxy.isVisible());
    EXPECT_EQ(ReadIniValue("Options", "PROXYTYPE", profile.file()), "2") << "cancel stores nothing";
    EXPECT_EQ(updates.InternetFile1.ConnectType, kConnectProxy);
}

} // namespace
} // namespace kv::test
