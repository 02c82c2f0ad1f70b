// The small Linux adapters of start-up: instance lock, user folders, ending another process.
#include "common/temp_dir.h"
#include "platform/process_terminator.h"
#include "platform/single_instance.h"
#include "platform/user_account.h"

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <poll.h>
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

// Sets an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

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

} // namespace
} // namespace kv::test
