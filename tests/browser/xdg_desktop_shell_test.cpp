#include "platform/xdg_desktop_shell.h"

#include "common/temp_dir.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <thread>

namespace kv::test {
namespace {

// Stand-in desktop programs on the PATH that note how they were called.
class FakeDesktopPrograms : public ::testing::Test {
protected:
    FakeDesktopPrograms() : oldPath_(std::getenv("PATH") ? std::getenv("PATH") : "")
    {
        setenv("PATH", (bin_.path().string() + ":" + oldPath_).c_str(), 1);
    }
    ~FakeDesktopPrograms() override { setenv("PATH", oldPath_.c_str(), 1); }

    void program(const std::string& name, const std::string& body)
    {
        const auto path = bin_ / name;
        std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
        chmod(path.c_str(), 0755);
    }
    std::filesystem::path note(const std::string& name) const { return notes_ / name; }

    // The detached program writes its note a moment later.
    std::string waitForNote(const std::string& name)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!std::filesystem::exists(note(name + ".done"))) {
            if (std::chrono::steady_clock::now() > deadline) {
                ADD_FAILURE() << name << " was not run";
                return {};
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::ifstream in(note(name));
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    TempDir bin_;
    TempDir notes_;
    std::string oldPath_;
};

TEST_F(FakeDesktopPrograms, OpenHandsTheTargetOverAsOneWord)
{
    program("xdg-open", "printf '%s|%s' \"$#\" \"$1\" > '" + note("xdg-open").string() + "'; touch '" +
                            note("xdg-open.done").string() + "'");
    XdgDesktopShell shell;

    shell.open("/home/u/my exports/a;b $(x).txt");

    EXPECT_EQ(waitForNote("xdg-open"), "1|/home/u/my exports/a;b $(x).txt");
}

TEST_F(FakeDesktopPrograms, LockFallsBackToTheScreensaverWhenLoginctlFails)
{
    program("loginctl", "exit 1");
    program("xdg-screensaver", "echo \"$*\" > '" + note("xdg-screensaver").string() + "'; touch '" +
                                   note("xdg-screensaver.done").string() + "'");
    XdgDesktopShell shell;

    shell.lockSession();

    EXPECT_EQ(waitForNote("xdg-screensaver"), "lock\n");
}

TEST_F(FakeDesktopPrograms, LockUsesLoginctlWhenItWorks)
{
    program("loginctl", "echo \"$*\" > '" + note("loginctl").string() + "'; touch '" +
                            note("loginctl.done").string() + "'");
    program("xdg-screensaver", "touch '" + note("xdg-screensaver.done").string() + "'");
    XdgDesktopShell shell;

    shell.lockSession();

    EXPECT_EQ(waitForNote("loginctl"), "lock-session\n");
    EXPECT_FALSE(std::filesystem::exists(note("xdg-screensaver.done")));
}

} // namespace
} // namespace kv::test
