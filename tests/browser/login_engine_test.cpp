#include "browser/login_engine.h"

#include "browser/login_texts.h"
#include "browser_test_support.h"
#include "common/scripted_dialogs.h"
#include "fake_browser.h"
#include "storage/ini_values.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

class RecordingShell : public DesktopShell {
public:
    void open(std::string_view target) override { opened.emplace_back(target); }
    void lockSession() override { ++locks; }
    std::vector<std::string> opened;
    int locks = 0;
};

// Every window it opens refuses to navigate.
struct RefusingWindowList : FakeWindowList {
    std::shared_ptr<Browser> createBrowser() override
    {
        auto browser = std::make_shared<FakeBrowser>("refusing");
        browser->navigateSucceeds = false;
        opened.push_back(browser);
        return browser;
    }
};

class LoginEngineTest : public ::testing::Test {
protected:
    FakeBrowser& onlyWindow()
    {
        EXPECT_EQ(windows.opened.size(), 1u);
        return *windows.opened.at(0);
    }

    TestProfile profile;
    FakeWindowList windows;
    PendingLogins pending;
    ScriptedDialogs dialogs;
    RecordingShell shell;
    RecordingHost host;
    LoginEngine engine{windows, pending, dialogs, shell, host, profile.file(), profile.root()};
};

TEST_F(LoginEngineTest, FillAndSubmitOpensTheLoginPageAndRegistersThePendingLogin)
{
    const auto site = profile.site("Shop.QVR", {{SITEURL, "https://shop.example/login"}, {VELOTRIP, "0"}});
    const auto before = std::chrono::system_clock::now();

    engine.LoginToSite(site);

    FakeBrowser& window = onlyWindow();
    EXPECT_EQ(window.navigations, std::vector<std::string>{"https://shop.example/login"});
    EXPECT_TRUE(window.posts.empty());
    EXPECT_TRUE(window.visible);
    ASSERT_EQ(pending.Count(), 1u);
    EXPECT_EQ(pending.records()[0].hwnd, window.hwnd());
    EXPECT_EQ(pending.records()[0].Path, site);
    EXPECT_GE(pending.records()[0].timeStamp, before);
    EXPECT_EQ(SiteValue(site, SUCCESS, kStatsSection), "");
}

TEST_F(LoginEngineTest, ASiteWithoutVelotripKeyFillsAndSubmits)
{
    const auto site = profile.site("Shop.QVR", {{SITEURL, "https://shop.example/login"}});
    engine.LoginToSite(site);
    EXPECT_EQ(onlyWindow().navigations.size(), 1u);
    EXPECT_EQ(pending.Count(), 1u);
}

TEST_F(LoginEngineTest, VelotripPostsTheSavedBodyToTheActionAndCountsAtOnce)
{
    const std::string body = std::string("user=alice&pass=p%26w\0x", 24);
    const auto site = profile.site("Shop.QVR", {{SITEURL, "https://shop.example/account/login"},
                                                {FORMACTIONURL, "https://auth.example/session"},
                                                {SITEPOSTDATA, body},
                                                {VELOTRIP, " 1 "}});

    engine.LoginToSite(site);

    FakeBrowser& window = onlyWindow();
    EXPECT_EQ(window.posts, (std::vector<FakeBrowser::Post>{{"https://auth.example/session", body, ""}}));
    EXPECT_TRUE(window.navigations.empty());
    EXPECT_TRUE(window.visible);
    EXPECT_EQ(pending.Count(), 0u);
    EXPECT_EQ(SiteValue(site, SUCCESS, kStatsSection), "1");
}

TEST_F(LoginEngineTest, VelotripResolvesAnActionWrittenRelativeToThePage)
{
    const auto site = profile.site("Shop.QVR", {{SITEURL, "https://shop.example/account/login?x=1"},
                                                {FORMACTIONURL, "session"},
                                                {SITEPOSTDATA, "a=b"},
                                                {VELOTRIP, "1"}});
    engine.LoginToSite(site);
    EXPECT_EQ(onlyWindow().posts.at(0).url, "https://shop.example/account/session");
}

// A login a page's script sent goes again with its content type; one that could start another
// header is not sent as a header at all.
TEST_F(LoginEngineTest, VelotripSendsTheSavedContentTypeWhenItIsAPlainValue)
{
    const auto site = profile.site("Api.QVR", {{SITEURL, "https://shop.example/login"},
                                               {FORMACTIONURL, "/api/session"},
                                               {SITEPOSTDATA, R"({"u":"a"})"},
                                               {SITEPOSTTYPE, "application/json; charset=utf-8"},
                                               {VELOTRIP, "1"}});
    engine.LoginToSite(site);
    WriteSecureValue(kMainSection, SITEPOSTTYPE, "text/plain\r\nCookie: planted", site);
    engine.LoginToSite(site);

    ASSERT_EQ(windows.opened.size(), 2u);
    EXPECT_EQ(windows.opened[0]->posts.at(0).headers, "Content-Type: application/json; charset=utf-8\r\n");
    EXPECT_EQ(windows.opened[1]->posts.at(0).headers, "");
}

TEST_F(LoginEngineTest, AVelotripPostThatCouldNotBeSentIsNotCounted)
{
    const auto site = profile.site("Shop.QVR", {{SITEURL, "https://shop.example/"},
                                                {FORMACTIONURL, "https://shop.example/s"},
                                                {SITEPOSTDATA, "a=b"},
                                                {VELOTRIP, "1"}});
    RefusingWindowList refusing;
    LoginEngine refusingEngine{refusing, pending, dialogs, shell, host, profile.file(), profile.root()};

    refusingEngine.LoginToSite(site);

    EXPECT_EQ(refusing.opened.at(0)->posts.size(), 1u);
    EXPECT_EQ(SiteValue(site, SUCCESS, kStatsSection), "");
}

TEST_F(LoginEngineTest, MaximisedThenMinimisedAsTheOptionsSay)
{
    WriteIniValue("Options", "MAXIE", "1", profile.file());
    WriteIniValue("Options", "MINIE", "1", profile.file());
    const auto site = profile.site("Shop.QVR", {{SITEURL, "https://shop.example/"}});

    engine.LoginToSite(site);

    EXPECT_EQ(onlyWindow().windowStates,
              (std::vector<WindowState>{WindowState::Maximized, WindowState::Minimized}));
}

TEST_F(LoginEngineTest, EmptyOrNonNumericWindowOptionsCountAsOff)
{
    WriteIniValue("Options", "MAXIE", "yes", profile.file());
    WriteIniValue("Options", "MINIE", "", profile.file());
    engine.LoginToSite(profile.site("Shop.QVR", {{SITEURL, "https://shop.example/"}}));
    EXPECT_TRUE(onlyWindow().windowStates.empty());
}

TEST_F(LoginEngineTest, ASiteWithoutAddressIsSkippedSilently)
{
    engine.LoginToSite(profile.site("Blank.QVR", {{SITEURL, "   "}, {FORMLOGINVALUE, "x"}}));
    engine.LoginToSite(profile.root() / "Missing.QVR");
    EXPECT_TRUE(windows.opened.empty());
    EXPECT_TRUE(dialogs.messages().empty());
}

class HotkeyLoginTest : public LoginEngineTest {
protected:
    void entry(int n, std::string_view site)
    {
        WriteIniValue("Hotkey3", "HOTKEYNUMBER" + std::to_string(n), site, profile.file());
    }
};

TEST_F(HotkeyLoginTest, EntriesAreReadUpToTheCountOfFilledOnes)
{
    profile.site("Work/Mail.QVR", {{SITEURL, "https://mail.example/"}});
    profile.site("Bank.QVR", {{SITEURL, "https://bank.example/"}});
    entry(1, "Mail");
    entry(2, "  ");
    entry(3, "Bank");

    engine.LoginHotkeySites(3);

    EXPECT_EQ(windows.navigationsOfAll(), std::vector<std::string>{"https://mail.example/"});
    EXPECT_EQ(shell.locks, 0);
}

TEST_F(HotkeyLoginTest, AMissingSiteIsSkippedAndTheOthersStart)
{
    profile.site("Mail.QVR", {{SITEURL, "https://mail.example/"}});
    profile.site("Deep/er/Bank.QVR", {{SITEURL, "https://bank.example/"}});
    entry(1, "Gone");
    entry(2, "Mail");
    entry(3, "Bank");

    engine.LoginHotkeySites(3);

    EXPECT_EQ(windows.navigationsOfAll(),
              (std::vector<std::string>{"https://mail.example/", "https://bank.example/"}));
    EXPECT_EQ(pending.Count(), 2u);
}

TEST_F(HotkeyLoginTest, AnEmptyHotkeySaysSoAndShowsTheHotkeysArea)
{
    entry(1, " ");
    engine.LoginHotkeySites(3);
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{std::string(kEmptyHotkeyMessage)});
    EXPECT_EQ(host.hotkeyAreaShown, 1);
    EXPECT_TRUE(windows.opened.empty());
}

TEST_F(HotkeyLoginTest, ALockingHotkeyLocksTheSessionAndStillLogsIn)
{
    profile.site("Mail.QVR", {{SITEURL, "https://mail.example/"}});
    entry(1, "Mail");
    WriteIniValue("Hotkey3", "HOTKEYLOCK", "1", profile.file());

    engine.LoginHotkeySites(3);

    EXPECT_EQ(shell.locks, 1);
    EXPECT_EQ(windows.navigationsOfAll().size(), 1u);
}

TEST_F(LoginEngineTest, LaunchBrowserOpensTheAddressInANewWindow)
{
    engine.LaunchBrowser("https://maker.example/news");
    EXPECT_EQ(onlyWindow().navigations, std::vector<std::string>{"https://maker.example/news"});
    EXPECT_TRUE(onlyWindow().visible);
    EXPECT_TRUE(shell.opened.empty());
    EXPECT_EQ(pending.Count(), 0u);
}

// Neither opening an address nor a login is ever dropped without a word.
TEST_F(LoginEngineTest, WithoutBrowserLaunchingAndLoggingInShowTheErrorMessage)
{
    windows.browserStarts = false;
    engine.LaunchBrowser("https://maker.example/");
    engine.LoginToSite(profile.site("Shop.QVR", {{SITEURL, "https://shop.example/"}}));
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>(2, std::string(kLaunchBrowserError)));
    EXPECT_EQ(dialogs.titles(), std::vector<std::string>(2, std::string(kLaunchBrowserErrorTitle)));
    EXPECT_TRUE(shell.opened.empty());
    EXPECT_EQ(pending.Count(), 0u);
}

TEST_F(LoginEngineTest, AnAddressTheBrowserCannotOpenGoesToTheDesktop)
{
    RefusingWindowList refusing;
    LoginEngine refusingEngine{refusing, pending, dialogs, shell, host, profile.file(), profile.root()};

    refusingEngine.LaunchBrowser("mailto:support@maker.example");

    EXPECT_EQ(shell.opened, std::vector<std::string>{"mailto:support@maker.example"});
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(LoginEngineTest, OpenWithShellHandsThePathToTheDesktop)
{
    engine.OpenWithShell("/home/u/export");
    EXPECT_EQ(shell.opened, std::vector<std::string>{"/home/u/export"});
}

} // namespace
} // namespace kv::test
