// The program's browser on a real desktop (Xvfb with a window manager): what the user sees.
#include "browser/chromium/toolbar_button_extension.h"
#include "e2e/chromium_fixture.h"
#include "e2e/local_server.h"
#include "gui/x_session.h"

#include <nlohmann/json.hpp>
#include <sstream>
#include <sys/stat.h>

namespace kv::test {
namespace {

class DesktopBrowserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* program : {"Xvfb", "openbox", "xdotool", "xprop"})
            if (!ProgramOnPath(program))
                GTEST_SKIP() << program << " is not installed";
        if (!ChromiumAvailable())
            GTEST_SKIP() << "Chromium is not installed at " << kChromiumPath;
        display = std::make_unique<XvfbDisplay>(1280, 800);
        ASSERT_TRUE(display->ready()) << "Xvfb did not start";
        setenv("DISPLAY", display->name().c_str(), 1);
        windowManager = std::make_unique<ChildProcess>(std::vector<std::string>{"openbox"});
        ASSERT_TRUE(
            WaitFor([] { return RunCommand("xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'"); },
                    std::chrono::seconds(15)))
            << "the window manager did not start";
        chmod(runtime.path().c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
        startSession();
    }
    // The browser of the program; the arguments are asked for at its start.
    void startSession(std::function<std::vector<std::string>()> argumentsAtStart = {})
    {
        session.reset();
        ChromiumOptions options;
        options.executable = kChromiumPath;
        options.userDataDir = profile.path();
        options.callTimeout = std::chrono::seconds(30);
        options.argumentsAtStart = std::move(argumentsAtStart);
        session = ChromiumSession::create(options);
        ASSERT_TRUE(session->start());
    }
    // Sends one command at the browser level or to a session attached there; its answer.
    std::optional<CdpClient::Json> browserCall(const std::string& method, const CdpClient::Json& params,
                                               const std::string& sessionId = "")
    {
        std::optional<CdpClient::Json> answer;
        bool answered = false;
        session->sendCommand(method, params, sessionId, [&](const std::optional<CdpClient::Json>& result) {
            answer = result;
            answered = true;
        });
        session->runUntil([&] { return answered; }, std::chrono::seconds(10));
        return answer;
    }
    // Whether the toolbar button's worker runs and listens for the button's clicks.
    bool buttonListens()
    {
        const auto targets = browserCall("Target.getTargets", CdpClient::Json::object());
        if (!targets)
            return false;
        for (const auto& target : (*targets)["targetInfos"]) {
            if (target["type"] != "service_worker" ||
                !target["url"].get<std::string>().ends_with("/button.js"))
                continue;
            if (workerSession.empty())
                if (const auto attached = browserCall("Target.attachToTarget",
                                                      {{"targetId", target["targetId"]}, {"flatten", true}}))
                    workerSession = (*attached)["sessionId"];
            const auto listens =
                browserCall("Runtime.evaluate", {{"expression", "chrome.action.onClicked.hasListeners()"}},
                            workerSession);
            return listens && listens->dump().find("\"value\":true") != std::string::npos;
        }
        return false;
    }
    void TearDown() override
    {
        session.reset();
        windowManager.reset();
        display.reset();
    }

    // The titles of the browser's windows that are shown on the screen.
    static std::vector<std::string> shownWindows()
    {
        std::string ids;
        RunCommand("xdotool search --onlyvisible --class chromium 2>/dev/null", &ids);
        std::vector<std::string> titles;
        std::istringstream lines(ids);
        for (std::string id; std::getline(lines, id);) {
            std::string title;
            if (RunCommand("xdotool getwindowname " + id + " 2>/dev/null", &title))
                titles.push_back(title.substr(0, title.find('\n')));
        }
        return titles;
    }

    // Opens the page in a new window as the program does and waits until it is on the screen.
    std::shared_ptr<Browser> showPage(const std::string& path, const std::string& title)
    {
        auto browser = session->createBrowser();
        if (!browser)
            return nullptr;
        browser->Navigate(server.url(path));
        browser->setVisible(true);
        const bool shown = session->runUntil(
            [&] {
                const auto titles = shownWindows();
                return std::any_of(titles.begin(), titles.end(),
                                   [&](const std::string& t) { return t.rfind(title, 0) == 0; });
            },
            std::chrono::seconds(20));
        EXPECT_TRUE(shown) << "the window of " << path << " did not show";
        return browser;
    }

    TempDir profile;
    TempDir runtime;
    LocalServer server;
    std::unique_ptr<XvfbDisplay> display;
    std::unique_ptr<ChildProcess> windowManager;
    std::shared_ptr<ChromiumSession> session;
    std::string workerSession; // the toolbar button worker's, once attached
};

// The user sees the windows the program opens and no other: no empty start window, no
// prepared one. Closing the last of them leaves the browser running for the next login.
TEST_F(DesktopBrowserTest, OnlyTheWindowsTheProgramOpensAreShown)
{
    server.page("/first", "<!doctype html><title>First page</title><p>one</p>");
    server.page("/second", "<!doctype html><title>Second page</title><p>two</p>");
    auto first = showPage("/first", "First page");
    ASSERT_TRUE(first);
    EXPECT_EQ(shownWindows().size(), 1u) << "shown: " << ::testing::PrintToString(shownWindows());

    const pid_t browserProcess = session->processId();
    ASSERT_TRUE(session->closeWindow(first->hwnd()));
    ASSERT_TRUE(session->runUntil([&] { return session->windows().empty(); }, std::chrono::seconds(20)));
    auto second = showPage("/second", "Second page");
    ASSERT_TRUE(second);
    EXPECT_EQ(session->processId(), browserProcess);
    EXPECT_EQ(shownWindows().size(), 1u) << "shown: " << ::testing::PrintToString(shownWindows());
}

// The toolbar button's extension, loaded at the browser's start, reaches the program: pressing
// the button (through its keyboard shortcut: the toolbar gives it no fixed place to click)
// requests this run's front address, which the session answers itself; the page stays.
TEST_F(DesktopBrowserTest, TheToolbarButtonReachesTheProgram)
{
    const ToolbarButtonExtension extension(std::filesystem::path(KV_SOURCE_DIR) / "resources" / "extensions" /
                                               "toolbar-button",
                                           runtime / "toolbar-button");
    startSession([&extension] {
        const auto folder = extension.prepare();
        return folder ? std::vector<std::string>{"--load-extension=" + folder->string()}
                      : std::vector<std::string>{};
    });
    int pressed = 0;
    session->reserveAddress(extension.frontAddress(), [&pressed] { ++pressed; });
    server.page("/page", "<!doctype html><title>Some page</title><p>text</p>");
    auto page = showPage("/page", "Some page");
    ASSERT_TRUE(page);

    // The browser loads its extensions after its first window; a press counts once the
    // extension's worker has its click listener, which it adds as it starts.
    ASSERT_TRUE(session->runUntil([&] { return buttonListens(); }, std::chrono::seconds(20)))
        << "the extension did not load";
    // The page's own window has the focus, as when the user presses the button there.
    ASSERT_TRUE(RunCommand("xdotool search --onlyvisible --name '^Some page' windowactivate --sync "
                           "key --clearmodifiers alt+shift+k"));
    ASSERT_TRUE(session->runUntil([&] { return pressed == 1; }, std::chrono::seconds(20)))
        << "the button's press did not reach the program";
    EXPECT_EQ(session->windows().size(), 1u);
    EXPECT_EQ(page->LocationURL(), server.url("/page"));
}

} // namespace
} // namespace kv::test
