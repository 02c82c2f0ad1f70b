// From a site hotkey's key press (xdotool on a private X server) to the login posts of its
// sites arriving at a local server, through the X grab, the dispatch, the login engine and a
// warm headless Chromium: one hotkey holding ten sites against one holding a single site.
#include "browser/capture_log.h"
#include "browser/chromium/chromium_session.h"
#include "browser/login_engine.h"
#include "browser/window_tracker.h"
#include "browser_at_rest.h"
#include "common/scripted_dialogs.h"
#include "common/temp_dir.h"
#include "common/temp_trash.h"
#include "e2e/local_server.h"
#include "e2e/login_pages.h"
#include "hotkeys/hide_show_window.h"
#include "hotkeys/hotkey_dispatch.h"
#include "hotkeys/hotkey_registration.h"
#include "hotkeys/x_hotkeys_session.h"
#include "quiet_desktop.h"
#include "storage/ini_values.h"
#include "storage/key_material.h"
#include "storage/secure_store.h"
#include "storage/site_file.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// CPU time (user + system, in clock ticks) of a process and all its descendants.
long TreeCpuTicks(pid_t root)
{
    std::map<pid_t, std::pair<pid_t, long>> processes; // pid -> parent, ticks
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::ifstream stat(entry.path() / "stat");
        std::string text((std::istreambuf_iterator<char>(stat)), {});
        const auto close = text.rfind(')');
        if (close == std::string::npos)
            continue;
        std::istringstream fields(text.substr(close + 2));
        std::string state;
        long parent = 0, skip = 0, user = 0, system = 0;
        fields >> state >> parent;
        for (int i = 0; i < 9; ++i)
            fields >> skip;
        fields >> user >> system;
        processes[std::stoi(name)] = {static_cast<pid_t>(parent), user + system};
    }
    long ticks = 0;
    for (const auto& [pid, info] : processes) {
        for (pid_t p = pid; p > 1;) {
            if (p == root) {
                ticks += info.second;
                break;
            }
            const auto it = processes.find(p);
            p = it == processes.end() ? 0 : it->second.first;
        }
    }
    return ticks;
}

constexpr const char* kChromium = "/usr/lib/chromium/chromium";

class NoWindow : public kv::HideShowWindow {
public:
    bool dialogOpen(kv::HotkeyDialog) const override { return false; }
    void closeDialog(kv::HotkeyDialog) override {}
    bool windowVisible() const override { return true; }
    void setWindowVisible(bool) override {}
};

// Everything a hotkey login goes through, set up once per benchmark.
class HotkeyLoginWorld {
public:
    // Hotkey 1 holds `sites` saved sites of the local server.
    explicit HotkeyLoginWorld(int sites)
    {
        chmod(runtime_.path().c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", runtime_.path().c_str(), 1);
        kv::SetCipherKeys({"bench machine key", "bench value key"});
        server_.page("/login", kv::test::kPlainLogin);
        kv::WriteIniValue("Options", "MAXIE", "1", profileFile());
        for (int n = 1; n <= sites; ++n) {
            const std::string name = "Site " + std::to_string(n);
            const auto site = profile_ / (name + ".QVR");
            kv::WriteSecureValue(kv::kMainSection, kv::SITEURL, server_.url("/login"), site);
            kv::WriteSecureValue(kv::kMainSection, kv::FORMLOGINVALUE, "alice", site);
            kv::WriteSecureValue(kv::kMainSection, kv::FORMPASSVALUE, "bench-password", site);
            kv::WriteIniValue("Hotkey1", "HOTKEYNUMBER" + std::to_string(n), name, profileFile());
        }
        display_ = std::make_unique<kv::test::XvfbDisplay>(1024, 768);
        if (!display_->ready() || !session_->start())
            return;
        hotkeys_ = kv::X11GlobalHotkeys::connect(display_->name());
        if (!hotkeys_)
            return;
        tracker_ = std::make_unique<kv::cIEWindows>(*session_, context_);
        registration_ = std::make_unique<kv::HotkeyRegistration>(*hotkeys_, dialogs_, profileFile());
        registration_->setPressedHandler([this](int id) { dispatch_.HotkeyPressed(id); });
        registration_->RegisterHotkeys();
        ready_ = registration_->registered(1);
    }
    ~HotkeyLoginWorld()
    {
        registration_.reset();
        hotkeys_.reset();
        tracker_.reset();
        session_.reset();
        display_.reset();
    }

    bool ready() const { return ready_; }
    // The browser's CPU time spent in presses so far, in milliseconds.
    double browserCpuMs() const
    {
        return 1000.0 * static_cast<double>(browserCpuTicks_) / sysconf(_SC_CLK_TCK);
    }
    std::string shortfall() const
    {
        return "only " + std::to_string(server_.count("POST", "/session")) + " login posts arrived in all";
    }

    // Presses Ctrl+F1 and waits for every site's post; the time from the press to the last
    // post, or nothing when they did not all come.
    std::optional<Clock::duration> pressAndWait(int sites)
    {
        const std::size_t before = server_.count("POST", "/session");
        const long cpuBefore = TreeCpuTicks(session_->processId());
        const auto start = Clock::now();
        if (!kv::test::PressKeys(*display_, "ctrl+F1"))
            return std::nullopt;
        if (!kv::test::RunHotkeysUntil(
                *hotkeys_, [&] { return server_.count("POST", "/session") >= before + sites; },
                std::chrono::seconds(60), session_.get()))
            return std::nullopt;
        browserCpuTicks_ += TreeCpuTicks(session_->processId()) - cpuBefore;
        Clock::time_point last = start;
        for (const auto& request : server_.requests())
            if (request.method == "POST")
                last = std::max(last, request.received);
        kv::bench::BringBrowserToRest(*session_, pending_, [&](const auto& done, auto limit) {
            return kv::test::RunHotkeysUntil(*hotkeys_, done, limit, session_.get());
        });
        return last - start;
    }

private:
    std::filesystem::path profileFile() const { return profile_ / "Bench.ini"; }
    static std::shared_ptr<kv::ChromiumSession> HeadlessBrowser(const std::filesystem::path& profile)
    {
        kv::ChromiumOptions options;
        options.executable = kChromium;
        options.userDataDir = profile;
        options.headless = true;
        return kv::ChromiumSession::create(options);
    }

    kv::test::TempDir profile_, browserProfile_, runtime_;
    kv::test::LocalServer server_;
    kv::test::ScriptedDialogs dialogs_;
    kv::bench::QuietHost host_;
    kv::bench::NoDesktop desktop_;
    kv::test::TempTrash trash_;
    NoWindow window_;
    kv::CaptureLog log_;
    kv::PendingLogins pending_;
    kv::CaptureContext context_{pending_, dialogs_, host_, log_, profileFile(), profile_.path(), trash_};
    std::shared_ptr<kv::ChromiumSession> session_ = HeadlessBrowser(browserProfile_.path());
    kv::LoginEngine engine_{*session_, pending_, dialogs_, desktop_, host_, profileFile(), profile_.path()};
    std::unique_ptr<kv::test::XvfbDisplay> display_;
    std::unique_ptr<kv::X11GlobalHotkeys> hotkeys_;
    std::unique_ptr<kv::cIEWindows> tracker_;
    std::unique_ptr<kv::HotkeyRegistration> registration_;
    kv::HotkeyDispatch dispatch_{window_, [this](int n) { engine_.LoginHotkeySites(n); }};
    bool ready_ = false;
    long browserCpuTicks_ = 0;
};

void TimeHotkeyLogins(benchmark::State& state, int sites)
{
    std::string missing;
    if (kv::test::XToolsMissing(&missing) || access(kChromium, X_OK) != 0) {
        state.SkipWithError(missing.empty() ? "Chromium is not installed" : missing.c_str());
        return;
    }
    HotkeyLoginWorld world(sites);
    if (!world.ready()) {
        state.SkipWithError("the X server, the browser or the hotkey did not start");
        return;
    }
    world.pressAndWait(sites); // the first windows of a fresh browser
    const double cpuBefore = world.browserCpuMs();
    for (auto _ : state) {
        const auto took = world.pressAndWait(sites);
        if (!took) {
            state.SkipWithError(world.shortfall().c_str());
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(*took).count());
    }
    // CPU the browser spent per press: what the machine must find, whatever its load.
    state.counters["browser_cpu_ms"] =
        benchmark::Counter((world.browserCpuMs() - cpuBefore) / static_cast<double>(state.iterations()));
}

void BM_HotkeyLoginsOne(benchmark::State& state)
{
    TimeHotkeyLogins(state, 1);
}
void BM_HotkeyLoginsTen(benchmark::State& state)
{
    TimeHotkeyLogins(state, 10);
}

BENCHMARK(BM_HotkeyLoginsOne)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_HotkeyLoginsTen)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
