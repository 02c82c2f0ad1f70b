// The Updates area's choices and the proxy dialog's settings.
#include "common/scripted_dialogs.h"
#include "common/temp_dir.h"
#include "common/test_gui_thread.h"
#include "platform/curl_http_client.h"
#include "storage/ini_values.h"
#include "support/registry_fixture.h"
#include "update/proxy_setup.h"
#include "update/schedule_fakes.h"
#include "update/updates_area.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

class RecordingAreaView : public UpdatesAreaView {
public:
    std::optional<int> mode;
    bool frequencyShown = true;
    bool manualShown = true;
    std::string frequency;
    bool firstSite = false;

    void selectUpdateMode(int index) override { mode = index; }
    void showFrequencyControls(bool shown) override { frequencyShown = shown; }
    void showManualControls(bool shown) override { manualShown = shown; }
    void selectFrequency(std::string_view text) override { frequency = text; }
    void selectFirstDownloadSite() override { firstSite = true; }
};

class UpdatesAreaTest : public ::testing::Test {
protected:
    test::TempRegistry registry;
    UpdateSettings settings{registry.registry()};
    test::RecordingTimer timer;
    test::RecordingAutomaticCheck check;
    test::FixedConnection connection;
    UpdateSchedule schedule{settings, timer, check, connection, test::FixedNow};
    UpdatesArea area{settings, schedule};
    RecordingAreaView view;
};

TEST_F(UpdatesAreaTest, ShowsTheStoredChoices)
{
    settings.setUpdateCheck("Manual");
    settings.setUpdateFrequency("Monthly");

    area.ShowSettings(view);

    EXPECT_EQ(view.mode, 1);
    EXPECT_FALSE(view.frequencyShown);
    EXPECT_TRUE(view.manualShown);
    EXPECT_EQ(view.frequency, "Monthly");
    EXPECT_TRUE(view.firstSite);
    EXPECT_FALSE(timer.enabled) << "showing the area re-arms nothing";
}

TEST_F(UpdatesAreaTest, UnknownStoredValuesSelectNothing)
{
    settings.setUpdateCheck("Sometimes");
    settings.setUpdateFrequency("Hourly");

    area.ShowSettings(view);

    EXPECT_FALSE(view.mode);
    EXPECT_EQ(view.frequency, "");
}

TEST_F(UpdatesAreaTest, AChangedChoiceIsStoredAndTakesEffectAtOnce)
{
    settings.setUpdateCheck("Automatic");
    settings.setUpdateFrequency("Daily");
    settings.setLastUpdateCheck(UpdateTimeText(test::FixedNow()));

    area.optUpdates_Click(view, 1);
    EXPECT_EQ(settings.UpdateCheck(), "Manual");
    EXPECT_TRUE(view.manualShown);
    EXPECT_FALSE(view.frequencyShown);
    EXPECT_EQ(timer.enabled, false) << "no automatic check after choosing manual ones";

    area.optUpdates_Click(view, 0);
    EXPECT_EQ(settings.UpdateCheck(), "Automatic");
    EXPECT_TRUE(view.frequencyShown);
    EXPECT_FALSE(view.manualShown);
    EXPECT_EQ(timer.enabled, true);
    EXPECT_EQ(schedule.countdown(), 86'400);

    area.cmdUpdateFrequency_Click("Weekly");
    EXPECT_EQ(settings.UpdateFrequency(), "Weekly");
    EXPECT_EQ(schedule.countdown(), 604'800);
}

class ProxySetupTest : public ::testing::Test {
protected:
    std::string stored(const char* key) const { return ReadIniValue("Options", key, profile); }

    test::TempDir folder;
    const std::filesystem::path profile = folder / "profile.ini";
    test::TestGuiThread gui;
    test::ScriptedDialogs dialogs;
    CurlHttpClient http;
    InternetFile download{http, gui, dialogs};
    ProxySetup proxy{profile, download};
};

TEST_F(ProxySetupTest, AFirstOpeningStoresAndSelectsTheSystemSettings)
{
    const ProxyForm form = proxy.cmd_ProxySetup_Click();

    EXPECT_EQ(form.option, kProxySystem);
    EXPECT_EQ(stored("PROXYTYPE"), "0");
}

TEST_F(ProxySetupTest, AManualProxyIsAppliedStoredAndShownAgain)
{
    proxy.cmdProxyOK_Click({kProxyManual, "proxy", "3128"});

    EXPECT_EQ(download.ConnectType, kConnectProxy);
    EXPECT_EQ(download.ProxyServer, "proxy");
    EXPECT_EQ(download.ProxyPort, 3128);
    EXPECT_EQ(stored("PROXYTYPE"), "2");
    EXPECT_EQ(stored("PROXYADDRESS"), "proxy");
    EXPECT_EQ(stored("PROXYPORT"), "3128");
    const ProxyForm shown = proxy.cmd_ProxySetup_Click();
    EXPECT_EQ(shown.option, kProxyManual);
    EXPECT_EQ(shown.address, "proxy");
    EXPECT_EQ(shown.port, "3128");
}

TEST_F(ProxySetupTest, ADirectConnectionForgetsTheProxy)
{
    proxy.cmdProxyOK_Click({kProxyManual, "proxy", "3128"});
    proxy.cmdProxyOK_Click({kProxyDirect, "ignored", "1"});

    EXPECT_EQ(download.ConnectType, kConnectDirect);
    EXPECT_EQ(stored("PROXYTYPE"), "1");
    EXPECT_EQ(stored("PROXYADDRESS"), "");
    EXPECT_EQ(stored("PROXYPORT"), "");
    const ProxyForm shown = proxy.cmd_ProxySetup_Click();
    EXPECT_EQ(shown.option, kProxyDirect);
    EXPECT_EQ(shown.address, "");
}

TEST_F(ProxySetupTest, PortTextsGiveTheirLeadingWholeNumberOrNone)
{
    for (const auto& [text, port] : {std::pair{"", 0}, std::pair{"8080", 8080}, std::pair{" 3128abc", 3128},
                                     std::pair{"abc", 0}, std::pair{"99999", 0}}) {
        proxy.cmdProxyOK_Click({kProxyManual, "proxy", text});
        EXPECT_EQ(download.ProxyPort, port) << '"' << text << '"';
    }
}

TEST_F(ProxySetupTest, TheStoredChoiceHoldsFromTheStart)
{
    WriteIniValue("Options", "PROXYTYPE", "2", profile);
    WriteIniValue("Options", "PROXYADDRESS", "gateway", profile);
    WriteIniValue("Options", "PROXYPORT", "8000", profile);

    proxy.ApplyStoredProxy();

    EXPECT_EQ(download.ConnectType, kConnectProxy);
    EXPECT_EQ(download.ProxyServer, "gateway");
    EXPECT_EQ(download.ProxyPort, 8000);
}

} // namespace
} // namespace kv
