// From LoginToSite to the login form's POST arriving at a local server, with a warm headless
// Chromium; and the same navigation, fill and click done by playwright-core as the peer.
#include "browser/chromium/chromium_session.h"
#include "browser/login_engine.h"
#include "browser/window_tracker.h"
#include "browser_at_rest.h"
#include "common/scripted_dialogs.h"
#include "common/temp_dir.h"
#include "common/temp_trash.h"
#include "quiet_desktop.h"
#include "storage/key_material.h"
#include "storage/secure_store.h"
#include "storage/site_file.h"

#include <benchmark/benchmark.h>
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kChromium = "/usr/lib/chromium/chromium";
constexpr const char* kLoginPage = R"HTML(<!doctype html><html><head><title>Bench login</title></head><body>
<form name="signin" action="/session" method="post">
  <input type="text" name="user"><input type="password" name="pass">
  <input type="submit" name="go" value="Sign in">
</form></body></html>)HTML";
// The same login asked in two steps: the name on one page, the password on the next.
constexpr const char* kNamePage = R"HTML(<!doctype html><html><head><title>Bench name</title></head><body>
<form action="/identify" method="post">
  <input type="text" name="user" autocomplete="username"><input type="submit" name="next" value="Next">
</form></body></html>)HTML";
constexpr const char* kPasswordPage =
    R"HTML(<!doctype html><html><head><title>Bench password</title></head><body>
<form action="/session" method="post">
  <input type="hidden" name="user" value="alice"><input type="password" name="pass">
  <input type="submit" name="go" value="Sign in">
</form></body></html>)HTML";

// Serves the login page and notes when each POST of the form arrives.
class TimedServer {
public:
    TimedServer()
    {
        server_.Get("/login", [](const httplib::Request&, httplib::Response& response) {
            response.set_content(kLoginPage, "text/html");
        });
        server_.Post("/session", [this](const httplib::Request&, httplib::Response& response) {
            lastPost_.store(Clock::now().time_since_epoch().count());
            posts_.fetch_add(1);
            response.set_content("<!doctype html><title>in</title>", "text/html");
        });
        server_.Get("/name", [](const httplib::Request&, httplib::Response& response) {
            response.set_content(kNamePage, "text/html");
        });
        server_.Post("/identify", [](const httplib::Request&, httplib::Response& response) {
            response.set_content(kPasswordPage, "text/html");
        });
        server_.Get("/session", [](const httplib::Request&, httplib::Response& response) {
            response.set_content("<!doctype html><title>in</title>", "text/html");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
    }
    ~TimedServer()
    {
        server_.stop();
        thread_.join();
    }
    std::string url(const std::string& path) const
    {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }
    int posts() const { return posts_.load(); }
    Clock::time_point lastPost() const { return Clock::time_point(Clock::duration(lastPost_.load())); }

private:
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
    std::atomic<int> posts_{0};
    std::atomic<Clock::rep> lastPost_{0};
};

void useRuntimeDirectory(const kv::test::TempDir& runtime)
{
    chmod(runtime.path().c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
}

// Times one login per iteration after a warm-up one (the first window and page of a fresh
// browser); a login that fails ends the run with the reason given.
void TimeLogins(benchmark::State& state, const std::function<std::optional<Clock::duration>()>& logIn,
                const char* failure)
{
    logIn();
    for (auto _ : state) {
        const auto took = logIn();
        if (!took) {
            state.SkipWithError(failure);
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(*took).count());
    }
}

// One login per iteration by the program's engine into the site saved for the page at path.
void TimeEngineLogins(benchmark::State& state, const std::string& path)
{
    if (access(kChromium, X_OK) != 0) {
        state.SkipWithError("Chromium is not installed at /usr/lib/chromium/chromium");
        return;
    }
    kv::test::TempDir profile, browserProfile, runtime;
    useRuntimeDirectory(runtime);
    kv::SetCipherKeys({"bench machine key", "bench value key"});
    TimedServer server;
    const auto site = profile / "Bench.QVR";
    kv::WriteSecureValue(kv::kMainSection, kv::SITEURL, server.url(path), site);
    kv::WriteSecureValue(kv::kMainSection, kv::FORMLOGINNAME, "user", site);
    kv::WriteSecureValue(kv::kMainSection, kv::FORMLOGINVALUE, "alice", site);
    kv::WriteSecureValue(kv::kMainSection, kv::FORMPASSVALUE, "bench-password", site);

    kv::ChromiumOptions options;
    options.executable = kChromium;
    options.userDataDir = browserProfile.path();
    options.headless = true;
    auto session = kv::ChromiumSession::create(options);
    if (!session->start()) {
        state.SkipWithError("Chromium did not start");
        return;
    }
    kv::test::ScriptedDialogs dialogs;
    kv::bench::QuietHost host;
    kv::bench::NoDesktop desktop;
    kv::CaptureLog log;
    kv::PendingLogins pending;
    kv::test::TempTrash trash;
    kv::CaptureContext context{pending, dialogs, host, log, profile / "Bench.ini", profile.path(), trash};
    kv::cIEWindows tracker(*session, context);
    kv::LoginEngine engine(*session, pending, dialogs, desktop, host, profile / "Bench.ini", profile.path());

    const auto logIn = [&]() -> std::optional<Clock::duration> {
        const int before = server.posts();
        const auto start = Clock::now();
        engine.LoginToSite(site);
        if (!session->runUntil([&] { return server.posts() > before; }, std::chrono::seconds(20)))
            return std::nullopt;
        const auto took = server.lastPost() - start;
        kv::bench::BringBrowserToRest(
            *session, pending, [&](const auto& done, auto limit) { return session->runUntil(done, limit); });
        return took;
    };
    TimeLogins(state, logIn, "the login post did not arrive");
}

void BM_FillAndSubmitLogin(benchmark::State& state)
{
    TimeEngineLogins(state, "/login");
}
BENCHMARK(BM_FillAndSubmitLogin)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

// Identifier-first: from LoginToSite to the password page's post.
void BM_FillAndSubmitLoginTwoStep(benchmark::State& state)
{
    TimeEngineLogins(state, "/name");
}
BENCHMARK(BM_FillAndSubmitLoginTwoStep)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

// The Node helper as a child process with its stdin and stdout on pipes.
class NodeHelper {
public:
    bool start(const std::filesystem::path& script)
    {
        int toChild[2], fromChild[2];
        if (pipe(toChild) != 0 || pipe(fromChild) != 0)
            return false;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, toChild[0], 0);
        posix_spawn_file_actions_adddup2(&actions, fromChild[1], 1);
        posix_spawn_file_actions_addclose(&actions, toChild[1]);
        posix_spawn_file_actions_addclose(&actions, fromChild[0]);
        std::string node = "node", path = script.string(), chromium = kChromium;
        char* argv[] = {node.data(), path.data(), chromium.data(), nullptr};
        const int spawned = posix_spawnp(&pid_, "node", &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        close(toChild[0]);
        close(fromChild[1]);
        if (spawned != 0) {
            close(toChild[1]);
            close(fromChild[0]);
            pid_ = -1;
            return false;
        }
        in_ = fdopen(toChild[1], "w");
        out_ = fdopen(fromChild[0], "r");
        return true;
    }
    ~NodeHelper()
    {
        if (in_) {
            std::fputs("\n", in_);
            std::fclose(in_);
        }
        if (out_)
            std::fclose(out_);
        if (pid_ > 0)
            waitpid(pid_, nullptr, 0);
    }
    void send(const std::string& line)
    {
        std::fputs((line + "\n").c_str(), in_);
        std::fflush(in_);
    }
    std::string receive()
    {
        char buffer[256];
        if (!std::fgets(buffer, sizeof buffer, out_))
            return {};
        std::string line(buffer);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        return line;
    }

private:
    pid_t pid_ = -1;
    FILE* in_ = nullptr;
    FILE* out_ = nullptr;
};

void BM_PlaywrightFillAndSubmit(benchmark::State& state)
{
    const std::filesystem::path bench = std::filesystem::path(KV_SOURCE_DIR) / "bench";
    if (!std::filesystem::exists(bench / "node_modules" / "playwright-core")) {
        state.SkipWithError(
            "playwright-core is not installed in bench/node_modules (scripts/bench installs it)");
        return;
    }
    if (access(kChromium, X_OK) != 0) {
        state.SkipWithError("Chromium is not installed at /usr/lib/chromium/chromium");
        return;
    }
    TimedServer server;
    NodeHelper helper;
    if (!helper.start(bench / "playwright_login.mjs") || helper.receive() != "ready") {
        state.SkipWithError("the playwright helper did not start");
        return;
    }
    const auto logIn = [&]() -> std::optional<Clock::duration> {
        const int before = server.posts();
        const auto start = Clock::now();
        helper.send(server.url("/login"));
        if (helper.receive() != "done" || server.posts() <= before)
            return std::nullopt;
        return server.lastPost() - start;
    };
    TimeLogins(state, logIn, "the playwright login did not arrive");
}
BENCHMARK(BM_PlaywrightFillAndSubmit)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
