// The real program on a private X display, driven by its hotkeys: the hide/show key hides and
// shows the main window, a site hotkey logs in through the program's own browser, whose
// toolbar button brings the hidden window back.
#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "e2e/local_server.h"
#include "e2e/login_pages.h"
#include "gui/program_profile.h"
#include "mainwindow/main_window_texts.h"
#include "startup/toolbar_button.h"
#include "storage/ini_values.h"
#include "x_hotkeys_session.h"

#include <fstream>

namespace kv::test {
namespace {

// The program as a user starts it: a profile with three sites, on its own X display.
class ProgramOnDisplay : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string missing;
        if (XToolsMissing(&missing))
            GTEST_SKIP() << missing;
        if (!std::filesystem::exists(program))
            GTEST_SKIP() << "the program is not built: " << program;
        std::filesystem::create_directories(root / "run");
        std::filesystem::permissions(root / "run", std::filesystem::perms::owner_all);
        MakeProgramProfile(root / "config", root / "profile", 3, 1);
        display = std::make_unique<XvfbDisplay>(1024, 768);
        ASSERT_TRUE(display->ready()) << "Xvfb did not start";
    }

    std::filesystem::path profileFile() const
    {
        return root / "profile" / (LinuxUserAccount().name() + ".ini");
    }

    void start()
    {
        app = std::make_unique<ChildProcess>(
            std::vector<std::string>{program.string()},
            std::map<std::string, std::string>{{"DISPLAY", display->name()},
                                               {"QT_QPA_PLATFORM", "xcb"},
                                               {"HOME", root.path().string()},
                                               {"XDG_CONFIG_HOME", (root / "config").string()},
                                               {"XDG_DATA_HOME", (root / "data").string()},
                                               {"XDG_RUNTIME_DIR", (root / "run").string()}},
            root / "program.log");
        ASSERT_TRUE(WaitFor([&] { return shown() || !app->running(); }, std::chrono::seconds(30)) &&
                    app->running())
            << "the main window did not appear:\n"
            << log();
    }
    bool shown() const { return !display->visibleWindow(std::string(kMainWindowCaption)).empty(); }
    std::string log() const
    {
        std::ifstream text(root / "program.log");
        return std::string(std::istreambuf_iterator<char>(text), {});
    }
    void TearDown() override
    {
        app.reset();
        display.reset();
    }

    const std::filesystem::path program =
        std::filesystem::path(KV_BINARY_DIR) / "app" / "kestrelyn-vormaplex";
    TempDir root;
    std::unique_ptr<XvfbDisplay> display;
    std::unique_ptr<ChildProcess> app;
};

TEST_F(ProgramOnDisplay, AltUpHidesAndShowsTheMainWindow)
{
    WriteIniValue("Options", "HOTKEYON", "1", profileFile());
    WriteIniValue("Options", "HOLDKEY", "Alt", profileFile());
    WriteIniValue("Options", "PRESSKEY", "Up", profileFile());
    start();

    ASSERT_TRUE(PressKeys(*display, "alt+Up"));
    EXPECT_TRUE(WaitFor([&] { return !shown(); }, std::chrono::seconds(10))) << "the window stayed:\n"
                                                                             << log();
    ASSERT_TRUE(PressKeys(*display, "alt+Up"));
    EXPECT_TRUE(WaitFor([&] { return shown(); }, std::chrono::seconds(10)))
        << "the window did not come back:\n"
        << log();
    EXPECT_TRUE(app->running());
}

TEST_F(ProgramOnDisplay, CtrlF3LogsInThroughTheProgramsBrowser)
{
    if (access("/usr/lib/chromium/chromium", X_OK) != 0)
        GTEST_SKIP() << "Chromium is not installed";
    LocalServer server;
    server.page("/login", kPlainLogin);
    const auto site = root / "profile" / "Category 1" / "Site 2.QVR";
    WriteSecureValue(kMainSection, SITEURL, server.url("/login"), site);
    WriteIniValue("Hotkey3", "HOTKEYNUMBER1", "Site 2", profileFile());
    start();

    ASSERT_TRUE(PressKeys(*display, "ctrl+F3"));
    EXPECT_TRUE(WaitFor([&] { return server.count("POST", "/session") == 1; }, std::chrono::seconds(60)))
        << "no login arrived:\n"
        << log();
    EXPECT_EQ(server.lastBody("POST", "/session"), "user=alice&pass=correct+horse&go=Sign+in");
}

TEST_F(ProgramOnDisplay, TheBrowsersToolbarButtonBringsTheHiddenWindowBack)
{
    if (access("/usr/lib/chromium/chromium", X_OK) != 0)
        GTEST_SKIP() << "Chromium is not installed";
    LocalServer server;
    server.page("/login", kPlainLogin);
    server.page("/session", "<!doctype html><title>Signed in</title><p>Welcome");
    WriteSecureValue(kMainSection, SITEURL, server.url("/login"),
                     root / "profile" / "Category 1" / "Site 1.QVR");
    WriteIniValue("Hotkey1", "HOTKEYNUMBER1", "Site 1", profileFile());
    WriteIniValue("Options", "HOTKEYON", "1", profileFile());
    WriteIniValue("Options", "HOLDKEY", "Alt", profileFile());
    WriteIniValue("Options", "PRESSKEY", "Up", profileFile());
    {
        SqliteRegistryBackend backend(root / "config" / "kestrelyn-vormaplex" / "registry");
        clsRegAccess registry(backend);
        AddToolbarButton(registry, program, root / "icon.svg");
    }
    start();
    ASSERT_TRUE(PressKeys(*display, "alt+Up"));
    ASSERT_TRUE(WaitFor([&] { return !shown(); }, std::chrono::seconds(10))) << log();

    // The login's window is the browser's first: the button's extension was loaded with it.
    ASSERT_TRUE(PressKeys(*display, "ctrl+F1"));
    ASSERT_TRUE(WaitFor([&] { return !display->visibleWindow("Signed in - Chromium").empty(); },
                        std::chrono::seconds(60)))
        << "the login did not end on its page:\n"
        << log();
    EXPECT_FALSE(shown());
    ASSERT_TRUE(RunCommand("DISPLAY=" + display->name() +
                           " xdotool search --onlyvisible --name '^Signed in' " +
                           "windowfocus --sync key --clearmodifiers alt+shift+k"));
    EXPECT_TRUE(WaitFor([&] { return shown(); }, std::chrono::seconds(20)))
        << "the button did not bring the window back:\n"
        << log();
}

} // namespace
} // namespace kv::test
