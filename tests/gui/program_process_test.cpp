// The real program's own process: what it forbids itself before it reads anything secret.
#include "common/temp_dir.h"
#include "x_session.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <fstream>
#include <sstream>

namespace kv::test {
namespace {

namespace fs = std::filesystem;

// "Max core file size" of /proc/<pid>/limits: the soft and the hard limit as written there.
std::string CoreLimits(pid_t pid)
{
    std::ifstream limits("/proc/" + std::to_string(pid) + "/limits");
    for (std::string line; std::getline(limits, line);) {
        if (line.starts_with("Max core file size")) {
            std::istringstream fields(line.substr(std::string("Max core file size").size()));
            std::string soft, hard;
            fields >> soft >> hard;
            return soft + " " + hard;
        }
    }
    return "unknown";
}

TEST(ProgramProcess, ForbidsCoreFilesBeforeItStarts)
{
    const fs::path program = fs::path(KV_BINARY_DIR) / "app" / "kestrelyn-vormaplex";
    if (!fs::exists(program))
        GTEST_SKIP() << "the program is not built: " << program;
    // Started from a process that would write core files, as a user's shell may be.
    rlimit core{};
    ASSERT_EQ(getrlimit(RLIMIT_CORE, &core), 0);
    if (core.rlim_max == 0)
        GTEST_SKIP() << "core files cannot be switched on here";
    const rlimit saved = core;
    core.rlim_cur = core.rlim_max == RLIM_INFINITY ? (1u << 20) : core.rlim_max;
    ASSERT_EQ(setrlimit(RLIMIT_CORE, &core), 0);

    TempDir root;
    fs::create_directories(root / "run");
    fs::permissions(root / "run", fs::perms::owner_all, fs::perm_options::replace);
    // A first start: it claims the single instance (the lock's socket appears), then waits
    // in the first-run wizard, writing nothing.
    ChildProcess app({program.string()},
                     {{"QT_QPA_PLATFORM", "offscreen"},
                      {"HOME", root.path().string()},
                      {"XDG_CONFIG_HOME", (root / "config").string()},
                      {"XDG_DATA_HOME", (root / "data").string()},
                      {"XDG_RUNTIME_DIR", (root / "run").string()}},
                     root / "program.log");
    setrlimit(RLIMIT_CORE, &saved);
    ASSERT_TRUE(app.started());
    const bool claimed =
        WaitFor([&] { return fs::exists(root / "run" / "kestrelyn-vormaplex.socket") || !app.running(); },
                std::chrono::seconds(30));
    ASSERT_TRUE(claimed && app.running())
        << "the program did not get as far as the single-instance claim; see " << (root / "program.log");
    EXPECT_EQ(CoreLimits(app.pid()), "0 0");
}

} // namespace
} // namespace kv::test
