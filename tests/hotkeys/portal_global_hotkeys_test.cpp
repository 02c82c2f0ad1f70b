// Hotkeys through the desktop portal, against a stand-in portal that speaks its protocol on a
// private session bus.
#include "platform/qt_portal_global_hotkeys.h"

#include "browser/browser_test_support.h"
#include "common/scripted_dialogs.h"
#include "hotkeys/hotkey_registration.h"
#include "private_session_bus.h"
#include "storage/ini_values.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

using Messages = std::vector<std::string>;

class PortalHotkeysTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!ProgramOnPath("dbus-daemon"))
            GTEST_SKIP() << "dbus-daemon is not installed (scripts/install-deps installs it)";
        bus = std::make_unique<PrivateSessionBus>();
        ASSERT_TRUE(bus->ready()) << "the private bus did not start";
        WriteIniValue("Options", "HOTKEYON", "1", profile.file());
        WriteIniValue("Options", "HOLDKEY", "Alt", profile.file());
        WriteIniValue("Options", "PRESSKEY", "Up", profile.file());
        siteList(3);
    }
    void TearDown() override
    {
        registration.reset();
        hotkeys.reset();
        portal.reset();
        bus.reset();
    }

    void siteList(int n, std::string_view first = "Mail")
    {
        WriteIniValue("Hotkey" + std::to_string(n), "HOTKEYNUMBER1", first, profile.file());
    }
    void startPortal(std::vector<std::string> arguments = {})
    {
        portal = std::make_unique<FakePortal>(*bus, std::move(arguments));
        ASSERT_TRUE(portal->serving()) << "the stand-in portal did not start";
    }
    void registerHotkeys(std::chrono::milliseconds answerLimit = kPortalAnswerLimit)
    {
        hotkeys = std::make_unique<QtPortalGlobalHotkeys>(bus->connection(), answerLimit);
        registration = std::make_unique<HotkeyRegistration>(*hotkeys, dialogs, profile.file());
        registration->setPressedHandler([this](int id) { pressed.push_back(id); });
        registration->RegisterHotkeys();
    }
    bool waitUntil(const std::function<bool()>& done, const std::string& what)
    {
        const bool came = RunQtUntil(done, std::chrono::seconds(10));
        EXPECT_TRUE(came) << "timed out waiting for " << what;
        return came;
    }

    TestProfile profile;
    ScriptedDialogs dialogs;
    std::unique_ptr<PrivateSessionBus> bus;
    std::unique_ptr<FakePortal> portal;
    std::unique_ptr<QtPortalGlobalHotkeys> hotkeys;
    std::unique_ptr<HotkeyRegistration> registration;
    std::vector<int> pressed;
};

TEST_F(PortalHotkeysTest, BindsEveryHotkeyInOneSessionAndDeliversItsActivations)
{
    siteList(10);
    startPortal();
    registerHotkeys();

    const QStringList expected{"kv-hotkey-0=ALT+Up", "kv-hotkey-3=CTRL+F3", "kv-hotkey-10=CTRL+F10"};
    ASSERT_TRUE(waitUntil([&] { return portal->bound() == expected; }, "the shortcuts to be bound"));
    EXPECT_EQ(portal->sessionsClosed(), 0);

    portal->press("kv-hotkey-7");
    portal->press("kv-hotkey-3");
    portal->press("kv-hotkey-0");
    ASSERT_TRUE(waitUntil([&] { return pressed.size() >= 2; }, "the activations"));
    EXPECT_EQ(pressed, (std::vector<int>{3, 0}));
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(PortalHotkeysTest, AShortcutThePortalLeavesUnboundIsReportedOnce)
{
    siteList(4);
    startPortal({"--refuse", "CTRL+F4"});
    registerHotkeys();

    ASSERT_TRUE(waitUntil([&] { return !dialogs.messages().empty(); }, "the refusal"));
    EXPECT_EQ(dialogs.messages(), Messages{"Could not register CTRL-F4"});
    EXPECT_EQ(dialogs.titles(), Messages{"Key Combo Unavailable"});
    EXPECT_FALSE(registration->registered(4));
    EXPECT_TRUE(registration->registered(3));

    portal->press("kv-hotkey-4");
    portal->press("kv-hotkey-3");
    ASSERT_TRUE(waitUntil([&] { return !pressed.empty(); }, "the activation"));
    EXPECT_EQ(pressed, std::vector<int>{3});
}

// No portal on the bus, or one that does not answer in time: every hotkey the profile
// configures is reported once, and the program runs on.
TEST_F(PortalHotkeysTest, AMissingOrSilentPortalReportsEveryConfiguredHotkey)
{
    const Messages expected{"Could not register CTRL-Up", "Could not register CTRL-F3"};
    registerHotkeys();
    ASSERT_TRUE(waitUntil([&] { return dialogs.messages().size() >= 2; }, "the reports"));
    EXPECT_EQ(dialogs.messages(), expected);
    EXPECT_FALSE(registration->registered(0));
    EXPECT_FALSE(registration->registered(3));

    startPortal({"--silent"});
    registration.reset();
    dialogs = ScriptedDialogs();
    registerHotkeys(std::chrono::milliseconds(300));
    ASSERT_TRUE(waitUntil([&] { return dialogs.messages().size() >= 2; }, "the reports"));
    EXPECT_EQ(dialogs.messages(), expected);
}

// A save registers afresh: the old session closes and the new lists are bound in a new one.
TEST_F(PortalHotkeysTest, RegisteringAfreshBindsTheNewListsInAFreshSession)
{
    startPortal();
    registerHotkeys();
    ASSERT_TRUE(waitUntil([&] { return portal->bound().size() == 2; }, "the first binding"));

    registration->UnregisterHotkeys();
    WriteIniValue("Options", "HOTKEYON", "0", profile.file());
    siteList(3, "");
    siteList(5);
    registration->RegisterHotkeys();

    ASSERT_TRUE(waitUntil([&] { return portal->bound() == QStringList{"kv-hotkey-5=CTRL+F5"}; },
                          "the second binding"));
    EXPECT_EQ(portal->sessionsClosed(), 1);
    portal->press("kv-hotkey-3");
    portal->press("kv-hotkey-5");
    ASSERT_TRUE(waitUntil([&] { return !pressed.empty(); }, "the activation"));
    EXPECT_EQ(pressed, std::vector<int>{5});
    EXPECT_TRUE(dialogs.messages().empty());
}

} // namespace
} // namespace kv::test
