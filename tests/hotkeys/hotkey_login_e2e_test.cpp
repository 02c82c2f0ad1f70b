// A site hotkey end to end: the key pressed on a real X server, the grab, the dispatch and the
// login engine in the real (headless) browser, down to the login's post at a local server.
#include "e2e/browser_logic_fixture.h"
#include "e2e/login_pages.h"
#include "fake_hide_show_window.h"
#include "hotkeys/hotkey_dispatch.h"
#include "hotkeys/hotkey_registration.h"
#include "storage/ini_values.h"
#include "x_hotkeys_session.h"

#include <X11/keysym.h>

#include <set>

namespace kv::test {
namespace {

class HotkeyLoginE2eTest : public BrowserLogicSuite {
protected:
    void SetUp() override
    {
        std::string missing;
        if (XToolsMissing(&missing))
            GTEST_SKIP() << missing;
        BrowserLogicSuite::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        display = std::make_unique<XvfbDisplay>(1024, 768);
        ASSERT_TRUE(display->ready()) << "Xvfb did not start";
        hotkeys = X11GlobalHotkeys::connect(display->name());
        ASSERT_TRUE(hotkeys) << "cannot connect to " << display->name();
        registration = std::make_unique<HotkeyRegistration>(*hotkeys, dialogs, profile.file());
        registration->setPressedHandler([this](int id) { dispatch.HotkeyPressed(id); });
        server.page("/login", kPlainLogin);
    }
    void TearDown() override
    {
        registration.reset();
        hotkeys.reset();
        display.reset();
        BrowserLogicSuite::TearDown();
    }

    // A saved site of the local server on site hotkey n.
    void siteOnHotkey(int n, const std::string& name, const std::string& login)
    {
        profile.site(
            "Work/" + name + ".QVR",
            {{SITEURL, server.url("/login")}, {FORMLOGINVALUE, login}, {FORMPASSVALUE, "pw-" + login}});
        WriteIniValue("Hotkey" + std::to_string(n), "HOTKEYNUMBER1", name, profile.file());
    }

    bool waitForPosts(std::size_t count)
    {
        const bool came = RunHotkeysUntil(
            *hotkeys, [&] { return server.count("POST", "/session") >= count; }, std::chrono::seconds(30),
            &session());
        EXPECT_TRUE(came) << server.count("POST", "/session") << " of " << count << " login posts arrived";
        return came;
    }

    std::unique_ptr<XvfbDisplay> display;
    std::unique_ptr<X11GlobalHotkeys> hotkeys;
    std::unique_ptr<HotkeyRegistration> registration;
    FakeHideShowWindow window;
    HotkeyDispatch dispatch{window, [this](int n) { engine->LoginHotkeySites(n); }};
};

TEST_F(HotkeyLoginE2eTest, CtrlF3LogsIntoTheSiteOfHotkeyThree)
{
    siteOnHotkey(3, "Intranet", "alice");
    registration->RegisterHotkeys();
    ASSERT_TRUE(registration->registered(3));

    ASSERT_TRUE(PressKeys(*display, "ctrl+F3"));

    ASSERT_TRUE(waitForPosts(1));
    EXPECT_EQ(server.lastBody("POST", "/session"), "user=alice&pass=pw-alice&go=Sign+in");
    EXPECT_TRUE(dialogs.messages().empty());
}

// The windows of a hotkey's sites are opened together; each site still gets its own login.
TEST_F(HotkeyLoginE2eTest, EverySiteOfAHotkeyLogsInInItsOwnWindow)
{
    constexpr int kSites = 10;
    for (int i = 1; i <= kSites; ++i) {
        const std::string name = "Site" + std::to_string(i);
        profile.site("Work/" + name + ".QVR", {{SITEURL, server.url("/login")},
                                               {FORMLOGINVALUE, "user" + std::to_string(i)},
                                               {FORMPASSVALUE, "pw"}});
        WriteIniValue("Hotkey6", "HOTKEYNUMBER" + std::to_string(i), name, profile.file());
    }
    registration->RegisterHotkeys();
    const std::size_t windowsBefore = session().windows().size();

    ASSERT_TRUE(PressKeys(*display, "ctrl+F6"));

    ASSERT_TRUE(waitForPosts(kSites));
    std::multiset<std::string> bodies;
    for (const auto& request : server.requests())
        if (request.method == "POST")
            bodies.insert(request.body);
    std::multiset<std::string> expected;
    for (int i = 1; i <= kSites; ++i)
        expected.insert("user=user" + std::to_string(i) + "&pass=pw&go=Sign+in");
    EXPECT_EQ(bodies, expected);
    EXPECT_EQ(session().windows().size() - windowsBefore, static_cast<std::size_t>(kSites));
}

// Another program holds Ctrl+F4: said once, the other hotkeys work, and shutting down
// leaves the other program its key.
TEST_F(HotkeyLoginE2eTest, AKeyAnotherProgramHoldsIsReportedOnceAndTheRestWork)
{
    OtherXClient other(display->name());
    ASSERT_TRUE(other.grab(XK_F4, ControlMask));
    siteOnHotkey(3, "Intranet", "alice");
    siteOnHotkey(4, "Wiki", "bob");

    registration->RegisterHotkeys();
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"Could not register CTRL-F4"});
    EXPECT_EQ(dialogs.titles(), std::vector<std::string>{"Key Combo Unavailable"});

    ASSERT_TRUE(PressKeys(*display, "ctrl+F3"));
    ASSERT_TRUE(waitForPosts(1));
    EXPECT_EQ(server.lastBody("POST", "/session"), "user=alice&pass=pw-alice&go=Sign+in");

    registration->UnregisterHotkeys();
    registration.reset();
    hotkeys.reset();
    ASSERT_TRUE(PressKeys(*display, "ctrl+F4"));
    EXPECT_TRUE(other.waitForPress(XK_F4, std::chrono::seconds(10))) << "the other program lost Ctrl+F4";
    EXPECT_EQ(server.count("POST", "/session"), 1u);
}

} // namespace
} // namespace kv::test
