// The small Linux adapters of start-up: instance lock, user folders, ending another process.
#include "common/scoped_env.h"
#include "common/temp_dir.h"
#include "platform/browser_profile_directory.h"
#include "platform/core_dumps.h"
#include "platform/process_terminator.h"
#include "platform/single_instance.h"
#include "platform/user_account.h"

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kv::test {
namespace {

namespace fs = std::filesystem;

TEST(RuntimeDirInstanceLock, SecondClaimFailsUntilTheFirstIsGone)
{
    TempDir runtime;
    auto first = std::make_optional<RuntimeDirInstanceLock>(runtime.path());
    ASSERT_TRUE(first->claim());
    {
        RuntimeDirInstanceLock second(runtime.path());
        EXPECT_FALSE(second.claim());
    }
    first.reset();
    RuntimeDirInstanceLock third(runtime.path());
    EXPECT_TRUE(third.claim());
}

TEST(RuntimeDirInstanceLock, LaterStartCanAskTheRunningOneToShowItself)
{
    TempDir runtime;
    RuntimeDirInstanceLock running(runtime.path());
    ASSERT_TRUE(running.claim());
    ASSERT_GE(running.showRequestSocket(), 0);
    EXPECT_FALSE(running.takeShowRequest());

    RuntimeDirInstanceLock later(runtime.path());
    ASSERT_FALSE(later.claim());
    ASSERT_TRUE(later.askRunningInstanceToShow());

    pollfd readable{running.showRequestSocket(), POLLIN, 0};
    ASSERT_EQ(poll(&readable, 1, 10000), 1) << "no request arrived within 10 s";
    EXPECT_TRUE(running.takeShowRequest());
    EXPECT_FALSE(running.takeShowRequest());
}

TEST(RuntimeDirInstanceLock, NobodyToAskWhenNoInstanceRuns)
{
    TempDir runtime;
    EXPECT_FALSE(RuntimeDirInstanceLock(runtime.path()).askRunningInstanceToShow());
}

TEST(LinuxUserAccount, DocumentsFolderFollowsTheUserDirectories)
{
    TempDir home;
    ScopedEnv homeVar("HOME", home.path().string());
    ScopedEnv configVar("XDG_CONFIG_HOME", (home / "config").string());
    LinuxUserAccount user;
    EXPECT_EQ(user.documentsFolder(), home / "Documents");

    fs::create_directories(home / "config");
    std::ofstream(home / "config" / "user-dirs.dirs") << "# written by xdg-user-dirs-update\n"
                                                         "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                                         "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n";
    EXPECT_EQ(user.documentsFolder(), home / "Dokumente");

    std::ofstream(home / "config" / "user-dirs.dirs") << "XDG_DOCUMENTS_DIR=\"$HOME/\"\n";
    EXPECT_EQ(user.documentsFolder(), home / "Documents") << "the home folder itself means unset";

    EXPECT_FALSE(user.name().empty());
}

TEST(BrowserProfileDirectory, FollowsTheDataFoldersAndWithoutThemOnlyAPrivateRuntimeFolder)
{
    TempDir runtime;
    ScopedEnv data("XDG_DATA_HOME", "/home/u/data");
    ScopedEnv home("HOME", "/home/u");
    ScopedEnv runtimeVar("XDG_RUNTIME_DIR", runtime.path().string());
    EXPECT_EQ(BrowserProfileDirectory(), "/home/u/data/kestrelyn-vormaplex/chromium");
    {
        ScopedEnv noData("XDG_DATA_HOME", std::nullopt);
        EXPECT_EQ(BrowserProfileDirectory(), "/home/u/.local/share/kestrelyn-vormaplex/chromium");
        ScopedEnv noHome("HOME", std::nullopt);
        fs::permissions(runtime.path(), fs::perms::owner_all, fs::perm_options::replace);
        EXPECT_EQ(BrowserProfileDirectory(), runtime / "kestrelyn-vormaplex" / "chromium");
        // A folder others may enter is no place for the browser's cookies and history.
        fs::permissions(runtime.path(), fs::perms::owner_all | fs::perms::others_exec,
                        fs::perm_options::replace);
        EXPECT_EQ(BrowserProfileDirectory(), fs::path());
        ScopedEnv noRuntime("XDG_RUNTIME_DIR", std::nullopt);
        EXPECT_EQ(BrowserProfileDirectory(), fs::path());
        ScopedEnv relative("XDG_RUNTIME_DIR", "run/user");
        EXPECT_EQ(BrowserProfileDirectory(), fs::path());
    }
}

TEST(SignalProcessTerminator, EndsAnotherProcessButNeverItself)
{
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        pause();
        _exit(0);
    }
    SignalProcessTerminator terminator;
    terminator.terminate(getpid());
    terminator.terminate(child);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
}

TEST(ForbidCoreDumps, LeavesNoCoreLimitToRaiseAndNothingToAttachTo)
{
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Start from a process that would write a core file.
        rlimit some{};
        getrlimit(RLIMIT_CORE, &some);
        some.rlim_cur = some.rlim_max == RLIM_INFINITY ? (1u << 20) : some.rlim_max;
        setrlimit(RLIMIT_CORE, &some);
        const bool done = ForbidCoreDumps();
        rlimit after{};
        getrlimit(RLIMIT_CORE, &after);
        const rlimit raise{1u << 20, 1u << 20};
        const bool raisable = geteuid() != 0 && setrlimit(RLIMIT_CORE, &raise) == 0;
        _exit(done && after.rlim_cur == 0 && after.rlim_max == 0 && !raisable &&
                      prctl(PR_GET_DUMPABLE, 0, 0, 0, 0) == 0
                  ? 0
                  : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a core file could still be written";
}

} // namespace
} // namespace kv::test
