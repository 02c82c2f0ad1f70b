// The browser cleanup on a real headless Chromium with a profile of its own: what a local
// site leaves behind is counted and deleted, with the browser running and with it closed.
#include "browser/browser_test_support.h"
#include "browser/window_tracker.h"
#include "cleanup/browser_cleanup.h"
#include "cleanup/browser_cleanup_panel.h"
#include "cleanup/chromium/chromium_profile_cache.h"
#include "cleanup/exit_cleanup.h"
#include "common/manual_task_timer.h"
#include "common/scripted_dialogs.h"
#include "common/served_site.h"
#include "common/temp_trash.h"
#include "e2e/chromium_fixture.h"
#include "startup/profile_settings.h"
#include "storage/ini_values.h"

#include <fstream>
#include <sys/stat.h>

namespace kv::test {
namespace {

using namespace std::chrono_literals;

// Pages on *.kv.test (the browser maps the name to 127.0.0.1): one sets three cookies (two for
// its host, one for the whole domain), one loads five stylesheets the browser may keep.
void CleanupRoutes(httplib::Server& server)
{
    server.Get("/cookies", [](const httplib::Request&, httplib::Response& response) {
        response.set_header("Set-Cookie", "first=1; Max-Age=3600; Path=/");
        response.set_header("Set-Cookie", "second=2; Max-Age=3600; Path=/; HttpOnly");
        response.set_header("Set-Cookie", "wide=3; Max-Age=3600; Path=/; Domain=kv.test");
        response.set_content("<!doctype html><title>cookies</title><p>three cookies", "text/html");
    });
    server.Get("/styled", [](const httplib::Request&, httplib::Response& response) {
        std::string html = "<!doctype html><title>styled</title>";
        for (int i = 0; i < 5; ++i)
            html += "<link rel=stylesheet href=\"/style" + std::to_string(i) + ".css\">";
        response.set_content(html + "<p>five stylesheets", "text/html");
    });
    server.Get(R"(/style\d\.css)", [](const httplib::Request&, httplib::Response& response) {
        response.set_header("Cache-Control", "max-age=3600");
        response.set_content("p { color: #123456 }", "text/css");
    });
    server.Get("/tracker", [](const httplib::Request&, httplib::Response& response) {
        response.set_header("Set-Cookie", "tracked=yes; Max-Age=3600; Path=/");
        response.set_content("<!doctype html><title>tracker</title><p>one cookie", "text/html");
    });
}

class CleanupE2E : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!ChromiumAvailable())
            GTEST_SKIP() << "Chromium is not installed at " << kChromiumPath;
        chmod(runtime.path().c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
        session = ChromiumSession::create(Options(browserProfile.path()));
        cache = std::make_unique<ChromiumProfileCache>(
            session, ChromiumProfile(browserProfile.path()),
            std::filesystem::path(KV_SOURCE_DIR) / "resources" / "extensions" / "cleanup", timer);
        cleanup = std::make_unique<BrowserCleanup>(*cache);
    }
    void TearDown() override
    {
        for (auto& [browser, recorder] : windows)
            browser->unsubscribe(*recorder);
        windows.clear();
        cleanup.reset();
        cache.reset();
        session.reset();
    }

    static ChromiumOptions Options(const std::filesystem::path& profile)
    {
        ChromiumOptions options;
        options.executable = kChromiumPath;
        options.userDataDir = profile;
        options.headless = true;
        options.callTimeout = 30s;
        options.extraArguments = {"--host-resolver-rules=MAP *.kv.test 127.0.0.1"};
        return options;
    }

    // Drives the browser and the timer until done() holds; fails loudly when it does not in time.
    bool waitFor(const std::function<bool()>& done, const std::string& what,
                 std::chrono::milliseconds limit = 30s)
    {
        bool ok;
        if (session->running()) {
            ok = session->runUntil([&] { return timer.runDue(), done(); }, limit);
        } else {
            while (timer.runDue()) {
            }
            ok = done();
        }
        EXPECT_TRUE(ok) << "timed out waiting for " << what;
        return ok;
    }

    // Opens a window on the page and waits for it to load.
    bool visit(const std::string& path)
    {
        auto browser = session->createBrowser();
        if (!browser) {
            ADD_FAILURE() << "no window";
            return false;
        }
        auto recorder = std::make_unique<EventRecorder>();
        browser->subscribe(*recorder);
        EventRecorder& loaded = *recorder;
        windows.emplace_back(browser, std::move(recorder));
        browser->Navigate(site.url("www.kv.test", path));
        return waitFor([&] { return loaded.completed(path) != nullptr; }, "the page " + path);
    }

    CacheCounts count()
    {
        std::optional<CacheCounts> shown;
        cleanup->ShowCacheCounts([&](const CacheCounts& counts) { shown = counts; });
        waitFor([&] { return shown.has_value(); }, "the counts");
        return shown.value_or(CacheCounts{-1, -1, -1, -1});
    }
    // Counts until they are as expected: the browser writes its cache and history a moment
    // after a page has loaded.
    CacheCounts countUntil(const std::function<bool(const CacheCounts&)>& expected, const std::string& what)
    {
        const auto deadline = std::chrono::steady_clock::now() + 20s;
        CacheCounts counts = count();
        while (!expected(counts) && std::chrono::steady_clock::now() < deadline) {
            if (session->running())
                session->runUntil([] { return false; }, 50ms);
            counts = count();
        }
        EXPECT_TRUE(expected(counts))
            << what << ": cookies " << counts.cookie << ", history " << counts.history << ", temporary files "
            << counts.temp << ", total " << counts.total;
        return counts;
    }
    // Browses the site: three cookies, two visited pages, five stylesheets.
    CacheCounts browse()
    {
        EXPECT_TRUE(visit("/cookies"));
        EXPECT_TRUE(visit("/styled"));
        return countUntil([](const CacheCounts& c) { return c.cookie == 3 && c.history >= 2 && c.temp >= 5; },
                          "after browsing");
    }
    void deleteAll()
    {
        cleanup->switches = CleanupSwitches::All();
        bool done = false;
        cleanup->ScanUrlCache(true, [&] { done = true; });
        waitFor([&] { return done; }, "the deletion");
    }

    static bool Nothing(const CacheCounts& c) { return c.cookie == 0 && c.history == 0 && c.temp == 0; }

    TempDir browserProfile;
    TempDir runtime;
    TestProfile settings;
    ServedSite site{CleanupRoutes};
    ManualTaskTimer timer;
    ScriptedDialogs dialogs;
    std::shared_ptr<ChromiumSession> session;
    std::unique_ptr<ChromiumProfileCache> cache;
    std::unique_ptr<BrowserCleanup> cleanup;
    std::vector<std::pair<std::shared_ptr<Browser>, std::unique_ptr<EventRecorder>>> windows;
};

TEST_F(CleanupE2E, CountsWhatBrowsingLeftAndTheTotalIsTheirSum)
{
    const CacheCounts counts = browse();
    EXPECT_EQ(counts.cookie, 3);
    EXPECT_GE(counts.history, 2);
    EXPECT_GE(counts.temp, 5);
    EXPECT_EQ(counts.total, counts.cookie + counts.history + counts.temp);
}

TEST_F(CleanupE2E, ClearAllYesEmptiesAllThreeAndTheBrowserKeepsWorking)
{
    browse();
    class NoDesktop : public DesktopShell {
        void open(std::string_view) override {}
        void lockSession() override {}
    } desktop;
    BrowserCleanupPanel panel(*cleanup, *cache, settings.file(), dialogs, desktop);
    dialogs.answer(Dialogs::Answer::Yes);
    std::optional<CacheCounts> shown;
    panel.cmdClearAll_Click([&](const CacheCounts& counts) { shown = counts; });
    waitFor([&] { return shown.has_value(); }, "the counts after Clear all");
    EXPECT_EQ(shown->cookie, 0);
    EXPECT_EQ(shown->history, 0);
    EXPECT_EQ(shown->temp, 0);

    EXPECT_TRUE(visit("/cookies"));
    countUntil([](const CacheCounts& c) { return c.cookie == 3 && c.history == 1; }, "after browsing again");
}

TEST_F(CleanupE2E, ExitWithOnlyCookiesChosenDeletesCookiesWithoutAsking)
{
    for (const auto& [key, value] : {std::pair{BROWSERDELETEALL, "0"},
                                     {BROWSERCOOKIE, "1"},
                                     {BROWSERHISTORY, "0"},
                                     {BROWSERTEMP, "0"},
                                     {BROWSERDELETEPROMPT, "0"}})
        WriteIniValue(kOptionsSection, key, value, settings.file());
    const CacheCounts before = browse();
    bool done = false;
    RunExitCleanup(*cleanup, settings.file(), dialogs, [&] { done = true; });
    waitFor([&] { return done; }, "the exit cleanup");

    EXPECT_TRUE(dialogs.asked().empty());
    const CacheCounts after = count();
    EXPECT_EQ(after.cookie, 0);
    EXPECT_GE(after.history, before.history);
    EXPECT_GE(after.temp, 5);
}

TEST_F(CleanupE2E, ExitOnANewProfileAsksAndYesDeletesEverything)
{
    browse();
    dialogs.answer(Dialogs::Answer::Yes);
    bool done = false;
    RunExitCleanup(*cleanup, settings.file(), dialogs, [&] { done = true; });
    waitFor([&] { return done; }, "the exit cleanup");
    EXPECT_EQ(dialogs.asked().size(), 1u);
    countUntil(Nothing, "after the exit cleanup");
}

// Secure browsing as the program wires it: the window's sink reports each completed page.
class SecureBrowsingHost : public RecordingHost {
public:
    explicit SecureBrowsingHost(BrowserCleanup& cleanup) : cleanup_(cleanup) {}
    void secureBrowsingPass() override
    {
        RecordingHost::secureBrowsingPass();
        cleanup_.SecureBrowsingPass();
    }

private:
    BrowserCleanup& cleanup_;
};

TEST_F(CleanupE2E, SecureBrowsingRemovesAPagesCookieOnceThePageHasLoaded)
{
    SecureBrowsingHost host(*cleanup);
    CaptureLog log;
    PendingLogins pending;
    TempTrash trash;
    CaptureContext context{pending, dialogs, host, log, settings.file(), settings.root(), trash};
    ASSERT_TRUE(session->start());
    cIEWindows tracker(*session, context);

    ASSERT_TRUE(visit("/tracker"));
    waitFor([&] { return host.cleanups > 0 && cleanup->idle(); }, "the secure browsing pass");
    const CacheCounts counts = count();
    EXPECT_EQ(counts.cookie, 0);
    EXPECT_EQ(counts.history, 0);
}

TEST_F(CleanupE2E, WithTheBrowserClosedTheFilesAreCleanedAndItStartsNormallyAfterwards)
{
    browse();
    session->shutdown();
    ASSERT_FALSE(session->running());

    const CacheCounts closed = count();
    EXPECT_EQ(closed.cookie, 3);
    EXPECT_GE(closed.history, 2);
    EXPECT_GE(closed.temp, 5);
    deleteAll();
    EXPECT_TRUE(Nothing(count()));
    std::ifstream history(browserProfile / "Default" / "History", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(history)), {});
    EXPECT_EQ(bytes.find("kv.test"), std::string::npos) << "the visited addresses are still in the file";

    ASSERT_TRUE(session->start());
    EXPECT_TRUE(visit("/cookies"));
    countUntil([](const CacheCounts& c) { return c.cookie == 3 && c.history == 1 && c.temp >= 1; },
               "browsing after the cleanup");
}

TEST_F(CleanupE2E, AProfileThatAnotherBrowserHoldsShowsNothingAndKeepsEverything)
{
    browse();
    session->shutdown();
    ChromiumOptions other = Options(browserProfile.path());
    auto otherBrowser = ChromiumProcess::start(other);
    ASSERT_TRUE(otherBrowser);
    // The other browser holds the profile once its lock is there.
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    std::error_code error;
    while (!std::filesystem::is_symlink(
               std::filesystem::symlink_status(browserProfile / "SingletonLock", error)) &&
           std::chrono::steady_clock::now() < deadline)
        otherBrowser->pipe().waitReadable(20ms);
    ASSERT_TRUE(std::filesystem::is_symlink(browserProfile / "SingletonLock"))
        << "the other browser did not start";

    EXPECT_TRUE(Nothing(count()));
    deleteAll();
    otherBrowser.reset(); // it ends and lets go of the profile
    const CacheCounts after = count();
    EXPECT_EQ(after.cookie, 3);
    EXPECT_GE(after.history, 2);
}

} // namespace
} // namespace kv::test
