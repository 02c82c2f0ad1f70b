// The small Linux adapters of start-up: instance lock, user folders, ending another process.
#include "common/scoped_env.h"
#include "common/temp_dir.h"
#include "platform/browser_profile_directory.h"
#include "platform/core_dumps.h"
#include "platform/instance_request.h"
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
#include <thread>
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
    ASSERT_GE(running.requestSocket(), 0);
    EXPECT_LT(running.acceptConnection(), 0);

    RuntimeDirInstanceLock later(runtime.path());
    ASSERT_FALSE(later.claim());
    ASSERT_TRUE(later.askRunningInstanceToShow());

    pollfd readable{running.requestSocket(), POLLIN, 0};
    ASSERT_EQ(poll(&readable, 1, 10000), 1) << "no request arrived within 10 s";
    InstanceConnection connection(running.acceptConnection());
    ASSERT_GE(connection.fd(), 0);
    pollfd sent{connection.fd(), POLLIN, 0};
    ASSERT_EQ(poll(&sent, 1, 10000), 1) << "the connection never finished";
    ASSERT_EQ(connection.readAvailable(), InstanceConnection::State::Complete);
    EXPECT_EQ(DecodeInstanceRequest(connection.request()), InstanceRequest{});
    EXPECT_LT(running.acceptConnection(), 0);
}

// The running instance's side of one connection, served on a thread of its own.
std::string ServeOneRequest(RuntimeDirInstanceLock& running, const std::string& answer)
{
    pollfd readable{running.requestSocket(), POLLIN, 0};
    if (poll(&readable, 1, 10000) != 1)
        return "no connection";
    InstanceConnection connection(running.acceptConnection());
    for (;;) {
        pollfd sent{connection.fd(), POLLIN, 0};
        if (poll(&sent, 1, 10000) != 1)
            return "no request";
        const auto state = connection.readAvailable();
        if (state == InstanceConnection::State::Failed)
            return "failed";
        if (state == InstanceConnection::State::Complete)
            break;
    }
    connection.reply(answer);
    return connection.request();
}

TEST(RuntimeDirInstanceLock, RequestsAndRepliesCrossTheSocketWhole)
{
    TempDir runtime;
    RuntimeDirInstanceLock running(runtime.path());
    ASSERT_TRUE(running.claim());
    InstanceRequest login;
    login.kind = InstanceRequest::Kind::LoginSites;
    // A name may hold anything a file name can, line ends included.
    login.sites = {"/Mail/Bank", "/odd\nname \"quoted\""};
    std::string received;
    std::thread server([&] { received = ServeOneRequest(running, EncodeInstanceReply({true, "2 sites"})); });
    const auto reply = RuntimeDirInstanceLock(runtime.path())
                           .sendRequest(EncodeInstanceRequest(login), std::chrono::seconds(10));
    server.join();
    EXPECT_EQ(DecodeInstanceRequest(received), login);
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(DecodeInstanceReply(*reply), (InstanceReply{true, "2 sites"}));
}

TEST(RuntimeDirInstanceLock, OversizedRequestFailsUnread)
{
    TempDir runtime;
    RuntimeDirInstanceLock running(runtime.path());
    ASSERT_TRUE(running.claim());
    std::string outcome;
    std::thread server([&] { outcome = ServeOneRequest(running, "{}"); });
    RuntimeDirInstanceLock(runtime.path())
        .sendRequest(std::string(kMaxInstanceMessage + 10, 'x'), std::chrono::seconds(10));
    server.join();
    EXPECT_EQ(outcome, "failed");
}

TEST(InstanceRequest, MalformedLinesAreRefusedNeverGuessed)
{
    for (const char* line :
         {"{", "[]", R"({"request":"login-sites"})", R"({"request":"login-sites","sites":[]})",
          R"({"request":"login-sites","sites":[1]})", R"({"request":"login-hotkey","hotkey":"1"})",
          R"({"request":"login-folder"})", R"({"request":"format-disk"})"})
        EXPECT_FALSE(DecodeInstanceRequest(line).has_value()) << line;
    EXPECT_FALSE(DecodeInstanceReply("").has_value());
    EXPECT_FALSE(DecodeInstanceReply(R"({"ok":"yes","message":""})").has_value());
}

TEST(RuntimeDirInstanceLock, NobodyToAskWhenNoInstanceRuns)
{
    TempDir runtime;
    EXPECT_FALSE(RuntimeDirInstanceLock(runtime.path()).askRunningInstanceToShow());
    EXPECT_FALSE(
        RuntimeDirInstanceLock(runtime.path()).sendRequest("{}", std::chrono::seconds(1)).has_value());
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
