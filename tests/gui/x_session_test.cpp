// The private X display the window tests run on.
#include "x_session.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

// A server that resets when its last client leaves refuses a program that connects at that
// moment, and forgets everything set on it before.
TEST(XvfbDisplay, OutlivesItsClientsWithoutResetting)
{
    for (const char* tool : {"Xvfb", "xprop"}) {
        if (!ProgramOnPath(tool))
            GTEST_SKIP() << tool << " is not installed (scripts/install-deps installs it)";
    }
    XvfbDisplay display(320, 240);
    ASSERT_TRUE(display.ready()) << "Xvfb did not start";
    const std::string on = "DISPLAY=" + display.name() + " ";
    ASSERT_TRUE(RunCommand(on + "xprop -root -f KV_MARK 8s -set KV_MARK kept"));
    std::string mark;
    ASSERT_TRUE(RunCommand(on + "xprop -root KV_MARK 2>&1", &mark))
        << "the next client was refused: " << mark;
    EXPECT_NE(mark.find("\"kept\""), std::string::npos) << mark;
}

TEST(ChildProcess, StopsAChildAtOnceEvenRightAfterStartingIt)
{
    ChildProcess sleeper({"sleep", "30"});
    ASSERT_TRUE(sleeper.started());
    sleeper.stop();
    EXPECT_FALSE(sleeper.running());
}

} // namespace
} // namespace kv::test
