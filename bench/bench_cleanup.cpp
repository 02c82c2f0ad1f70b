// The browser cleanup on a real headless Chromium profile holding 1,000 cookies, 1,000 history
// entries and 500 cache entries: the counts with the browser running and with it closed, and
// the secure-browsing pass after a page load. "CPU" is the time the calling (UI) thread spends;
// "Time" is until the answer is there, most of it spent inside the browser.
// Baselines in the same run: one protocol round trip, reading the stores' bytes, one page load.
#include "browser/chromium/chromium_session.h"
#include "cleanup/browser_cleanup.h"
#include "cleanup/chromium/chromium_profile_cache.h"
#include "common/manual_task_timer.h"
#include "common/served_site.h"
#include "common/temp_dir.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using Json = nlohmann::json;

constexpr const char* kChromium = "/usr/lib/chromium/chromium";
constexpr int kCookies = 1000;
constexpr int kHistory = 1000;
constexpr int kCacheEntries = 500;

// A page with kCacheEntries cacheable images, and a page that sets one cookie.
void BenchRoutes(httplib::Server& server)
{
    server.Get("/images", [](const httplib::Request&, httplib::Response& response) {
        std::string html = "<!doctype html><title>images</title>";
        for (int i = 0; i < kCacheEntries; ++i)
            html += "<img src=\"/image" + std::to_string(i) + ".gif\">";
        response.set_content(html, "text/html");
    });
    server.Get(R"(/image\d+\.gif)", [](const httplib::Request&, httplib::Response& response) {
        static const std::string gif("GIF89a\x01\x00\x01\x00\x00\x00\x00;", 14);
        response.set_header("Cache-Control", "max-age=3600");
        response.set_content(gif, "image/gif");
    });
    server.Get("/page", [](const httplib::Request&, httplib::Response& response) {
        response.set_header("Set-Cookie", "visit=1; Max-Age=3600; Path=/");
        response.set_content(
            "<!doctype html><title>page</title><link rel=stylesheet href=/image1.gif><p>a page", "text/html");
    });
}

// Counts the loads of the window's own document.
class LoadCounter : public kv::BrowserEvents {
public:
    void DocumentComplete(const kv::DocumentCompleteEvent& event) override
    {
        if (event.pDisp.topLevel)
            ++loads;
    }
    void BeforeNavigate2(const kv::BeforeNavigateEvent&) override {}
    void DownloadBegin(const kv::DownloadBeginEvent&) override {}
    void PasswordFieldAppeared(const kv::PasswordFieldEvent&) override {}
    void ScriptRequestSent(const kv::ScriptRequestEvent&) override {}
    int loads = 0;
};

class World {
public:
    World()
    {
        chmod(runtime_.path().c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", runtime_.path().c_str(), 1);
        kv::ChromiumOptions options;
        options.executable = kChromium;
        options.userDataDir = profile_.path();
        options.headless = true;
        options.callTimeout = 60s;
        options.extraArguments = {"--host-resolver-rules=MAP *.kv.test 127.0.0.1"};
        session = kv::ChromiumSession::create(options);
        extension_ = std::make_unique<kv::CleanupExtension>(
            session, std::filesystem::path(KV_SOURCE_DIR) / "resources" / "extensions" / "cleanup", timer);
        cache = std::make_unique<kv::ChromiumProfileCache>(
            session, kv::ChromiumProfile(profile_.path()),
            std::filesystem::path(KV_SOURCE_DIR) / "resources" / "extensions" / "cleanup", timer);
        cleanup = std::make_unique<kv::BrowserCleanup>(*cache);
    }

    // Fills the profile; false with the reason in error when something did not take.
    bool fill(std::string& error)
    {
        if (!running())
            return error = "Chromium did not start", false;
        Json cookies = Json::array();
        for (int i = 0; i < kCookies; ++i) // browsers keep at most 180 cookies per site
            cookies.push_back({{"name", "c" + std::to_string(i)},
                               {"value", "v"},
                               {"url", "http://site" + std::to_string(i / 100) + ".test/"},
                               {"expires", 4102444800}});
        bool answered = false;
        session->sendCommand("Storage.setCookies", {{"cookies", cookies}}, {},
                             [&](const std::optional<Json>&) { answered = true; });
        bool added = false;
        extension_->call(
            "Promise.all([...Array(" + std::to_string(kHistory) +
                ").keys()].map(i => chrome.history.addUrl({url: 'http://h.kv.test/' + i}))).then(() => "
                "true)",
            [&](const kv::CleanupExtension::Value& value) { added = value && *value == true; });
        if (!drive([&] { return answered && added; }, 60s))
            return error = "cookies or history were not added", false;
        if (!load("/images"))
            return error = "the image page did not load", false;
        // The cache writes its entries a moment after the load.
        kv::CacheCounts counts = count();
        const auto deadline = std::chrono::steady_clock::now() + 30s;
        while (counts.temp < kCacheEntries && std::chrono::steady_clock::now() < deadline) {
            session->runUntil([] { return false; }, 100ms);
            counts = count();
        }
        if (counts.cookie < kCookies || counts.history < kHistory || counts.temp < kCacheEntries) {
            error = "the profile holds " + std::to_string(counts.cookie) + " cookies, " +
                    std::to_string(counts.history) + " history entries, " + std::to_string(counts.temp) +
                    " cache entries";
            return false;
        }
        return true;
    }

    bool running()
    {
        if (!session->running())
            session->start();
        return session->running();
    }
    void close() { session->shutdown(); }

    bool drive(const std::function<bool()>& done, std::chrono::milliseconds limit = 30s)
    {
        if (!session->running()) {
            while (timer.runDue()) {
            }
            return done();
        }
        return session->runUntil([&] { return timer.runDue(), done(); }, limit);
    }

    kv::CacheCounts count()
    {
        std::optional<kv::CacheCounts> shown;
        cleanup->ShowCacheCounts([&](const kv::CacheCounts& counts) { shown = counts; });
        drive([&] { return shown.has_value(); });
        return shown.value_or(kv::CacheCounts{});
    }

    // Loads a page in the window kept for it; false when it did not complete.
    bool load(const std::string& path)
    {
        if (!window_ || windowOf_ != session->processId()) { // none yet, or one of a browser that ended
            window_ = session->createBrowser();
            if (!window_)
                return false;
            windowOf_ = session->processId();
            window_->subscribe(loads_);
        }
        const int before = loads_.loads;
        window_->Navigate(site_.url("bench.kv.test", path));
        return drive([&] { return loads_.loads > before; }, 60s);
    }

    const std::filesystem::path& profile() const { return profile_.path(); }

    kv::test::ManualTaskTimer timer;
    std::shared_ptr<kv::ChromiumSession> session;
    std::unique_ptr<kv::ChromiumProfileCache> cache;
    std::unique_ptr<kv::BrowserCleanup> cleanup;

private:
    kv::test::TempDir profile_;
    kv::test::TempDir runtime_;
    kv::test::ServedSite site_{BenchRoutes};
    std::unique_ptr<kv::CleanupExtension> extension_;
    LoadCounter loads_;
    std::shared_ptr<kv::Browser> window_;
    pid_t windowOf_ = -1;
};

World* world = nullptr;
std::string worldError;

World* TheWorld(benchmark::State& state)
{
    if (!world && worldError.empty()) {
        if (access(kChromium, X_OK) != 0) {
            worldError = "Chromium is not installed at /usr/lib/chromium/chromium";
        } else {
            world = new World;
            if (!world->fill(worldError)) {
                delete world;
                world = nullptr;
            }
        }
    }
    if (!world)
        state.SkipWithError(worldError.c_str());
    return world;
}

// Baseline of the counts with the browser running: one protocol command and its answer.
void BM_ProtocolRoundTrip(benchmark::State& state)
{
    World* w = TheWorld(state);
    if (!w || !w->running())
        return;
    for (auto _ : state) {
        bool answered = false;
        w->session->sendCommand("Browser.getVersion", Json::object(), {},
                                [&](const std::optional<Json>&) { answered = true; });
        w->drive([&] { return answered; });
    }
}
BENCHMARK(BM_ProtocolRoundTrip)->Unit(benchmark::kMillisecond)->Iterations(50);

// Arg 0: the browser runs (cookies over the protocol, history through the extension);
// arg 1: the browser is closed (the profile's files).
void BM_ShowCacheCounts(benchmark::State& state)
{
    World* w = TheWorld(state);
    if (!w)
        return;
    if (state.range(0) == 0 ? !w->running() : (w->close(), false))
        return state.SkipWithError("Chromium did not start");
    kv::CacheCounts counts;
    for (auto _ : state)
        counts = w->count();
    state.counters["cookies"] = counts.cookie;
    state.counters["history"] = counts.history;
    state.counters["temp"] = counts.temp;
}
BENCHMARK(BM_ShowCacheCounts)
    ->ArgName("closed")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

// Baseline of the counts with the browser closed: reading every byte of the three stores.
void BM_ReadStoresBaseline(benchmark::State& state)
{
    World* w = TheWorld(state);
    if (!w)
        return;
    w->close();
    const std::filesystem::path defaults = w->profile() / "Default";
    for (auto _ : state) {
        std::size_t bytes = 0;
        std::vector<std::filesystem::path> files{defaults / "History", defaults / "Cookies"};
        for (const auto& entry : std::filesystem::directory_iterator(defaults / "Cache" / "Cache_Data"))
            if (entry.is_regular_file())
                files.push_back(entry.path());
        for (const auto& file : files) {
            std::ifstream in(file, std::ios::binary);
            bytes += std::string(std::istreambuf_iterator<char>(in), {}).size();
        }
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_ReadStoresBaseline)->Unit(benchmark::kMillisecond)->Iterations(20);

// Baseline of the secure-browsing pass: loading the page it follows.
void BM_PageLoad(benchmark::State& state)
{
    World* w = TheWorld(state);
    if (!w || !w->running())
        return;
    for (auto _ : state)
        if (!w->load("/page"))
            return state.SkipWithError("the page did not load");
}
BENCHMARK(BM_PageLoad)->Unit(benchmark::kMillisecond)->Iterations(20);

// After each page load, everything the browser keeps is deleted. The first pass also removes
// the filled profile; it runs before the timing.
void BM_NimbrasePass(benchmark::State& state)
{
    World* w = TheWorld(state);
    if (!w || !w->running())
        return;
    w->cleanup->SecureBrowsingPass();
    w->drive([&] { return w->cleanup->idle(); }, 60s);
    for (auto _ : state) {
        state.PauseTiming();
        const bool loaded = w->load("/page");
        state.ResumeTiming();
        if (!loaded)
            return state.SkipWithError("the page did not load");
        w->cleanup->SecureBrowsingPass();
        w->drive([&] { return w->cleanup->idle(); });
    }
    state.counters["cookies_left"] = w->count().cookie;
}
BENCHMARK(BM_NimbrasePass)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete world;
    return 0;
}
