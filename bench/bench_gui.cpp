// Time from starting the program to its main window being shown, with a profile of
// 10,000 sites in 200 folders and no program login, on a private X display.
#include "common/temp_dir.h"
#include "gui/program_profile.h"
#include "gui/program_run.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <sstream>

namespace kv::test {
namespace {

constexpr int kSites = 10000;
constexpr int kFolders = 200;

// The processor time the program has used so far, in milliseconds: on a busy machine it
// shows how much of the wall time was the program's own work.
double ProcessorMilliseconds(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    double ticks = 0;
    for (int index = 3; fields >> field; ++index) {
        if (index == 14 || index == 15)
            ticks += std::stod(field);
        if (index == 15)
            break;
    }
    return ticks * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

struct StartFixture {
    StartFixture() : display(1280, 1024)
    {
        MakeProgramProfile(root / "config", root / "profile", kSites, kFolders);
    }
    TempDir root;
    XvfbDisplay display;
};

void BM_StartToMainWindowShown(benchmark::State& state)
{
    for (const char* tool : {"Xvfb", "xdotool"}) {
        if (!ProgramOnPath(tool)) {
            state.SkipWithError((std::string(tool) + " is not installed").c_str());
            return;
        }
    }
    if (!std::filesystem::exists(ProgramPath())) {
        state.SkipWithError("the program is not built");
        return;
    }
    static StartFixture fixture;
    if (!fixture.display.ready()) {
        state.SkipWithError("Xvfb did not start");
        return;
    }
    const std::string title = MainWindowTitle();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        auto program = StartProgram(fixture.display, fixture.root.path());
        ChildProcess& app = *program;
        const bool shown =
            WaitFor([&] { return !fixture.display.visibleWindow(title).empty() || !app.running(); },
                    std::chrono::seconds(60), std::chrono::milliseconds(5));
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        if (!shown || !app.running()) {
            state.SkipWithError("the main window did not show");
            return;
        }
        state.SetIterationTime(elapsed.count());
        state.counters["program_cpu_ms"] = ProcessorMilliseconds(app.pid());
        app.stop();
        // The next start must not meet this one: stop() has reaped it, and its window is gone
        // once the server has taken in the closed connection.
        if (!WaitFor([&] { return fixture.display.visibleWindow(title).empty(); },
                     std::chrono::seconds(10))) {
            state.SkipWithError("the main window stayed after the program ended");
            return;
        }
    }
}
BENCHMARK(BM_StartToMainWindowShown)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(5)
    ->ComputeStatistics("max",
                        [](const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); })
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace kv::test

BENCHMARK_MAIN();
