// The real program under a real window manager: closing and starting it again puts the
// window back exactly where it was.
#include "common/temp_dir.h"
#include "program_profile.h"
#include "program_run.h"
#include "storage/ini_values.h"

#include <QPoint>
#include <gtest/gtest.h>

#include <fstream>

namespace kv::test {
namespace {

// Where the window's client area is on the screen, as the X server has it.
std::optional<QPoint> ClientPosition(const XvfbDisplay& display, const std::string& window)
{
    std::string output;
    if (!RunCommand("DISPLAY=" + display.name() + " xwininfo -id " + window, &output))
        return std::nullopt;
    auto field = [&output](const std::string& name) {
        const std::size_t at = output.find(name);
        return at == std::string::npos ? -100000 : std::atoi(output.c_str() + at + name.size());
    };
    return QPoint(field("Absolute upper-left X:"), field("Absolute upper-left Y:"));
}

struct Placement {
    QPoint shownAt;
    std::string left, top; // what the exit saved
};

class WindowPositionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* tool : {"Xvfb", "openbox", "xdotool", "xwininfo", "xprop"}) {
            if (!ProgramOnPath(tool))
                GTEST_SKIP() << tool << " is not installed (scripts/install-deps installs it)";
        }
        if (!std::filesystem::exists(ProgramPath()))
            GTEST_SKIP() << "the program is not built: " << ProgramPath();
        profileFile_ = MakeProgramProfile(root_ / "config", root_ / "profile", 3, 1);
        // Alt+F4 must end the program without a question: no exit warning, and the exit's
        // browser cleanup runs without asking.
        WriteIniValue("Options", "EXITWARNING", "0", profileFile_);
        WriteIniValue("Options", "BROWSERDELETEPROMPT", "0", profileFile_);
        ASSERT_TRUE(display_.ready()) << "Xvfb did not start";
        manager_ = std::make_unique<WindowManager>(display_);
        ASSERT_TRUE(manager_->ready()) << "openbox did not take the display";
    }

    // Starts the program, waits until the window manager has framed its window, closes it as
    // a user does (Alt+F4), and reports where it stood and what it saved.
    Placement startAndClose()
    {
        auto program = StartProgram(display_, root_.path(), root_ / "program.log");
        std::string window;
        const bool framed = WaitFor(
            [&] {
                window = display_.visibleWindow(MainWindowTitle());
                return (!window.empty() &&
                        windowProperty(window, "_NET_FRAME_EXTENTS").find("=") != std::string::npos) ||
                       !program->running();
            },
            std::chrono::seconds(120));
        if (!framed || !program->running()) {
            std::ifstream log(root_ / "program.log");
            ADD_FAILURE() << "the main window was not framed:\n" << log.rdbuf();
            return {};
        }
        // The frame comes first and the placement right after it: wait until the window
        // stands still.
        std::optional<QPoint> at, before;
        WaitFor(
            [&] {
                before = at;
                at = ClientPosition(display_, window);
                return at && at == before;
            },
            std::chrono::seconds(30), std::chrono::milliseconds(200));
        // Alt+F4 goes to the window manager, which closes the active window.
        const std::string on = "DISPLAY=" + display_.name() + " ";
        RunCommand(on + "xdotool windowactivate --sync " + window);
        std::string active;
        EXPECT_TRUE(WaitFor(
            [&] {
                RunCommand(on + "xdotool getactivewindow", &active);
                return active.substr(0, active.find('\n')) == window;
            },
            std::chrono::seconds(60)))
            << "the window never became active; active: " << active;
        RunCommand(on + "xdotool key --clearmodifiers alt+F4");
        if (!WaitFor([&] { return !program->running(); }, std::chrono::seconds(120))) {
            std::ifstream log(root_ / "program.log");
            ADD_FAILURE() << "Alt+F4 did not end the program:\n" << log.rdbuf();
        }
        return {at.value_or(QPoint()), ReadIniValue("Options", "LEFT", profileFile_),
                ReadIniValue("Options", "TOP", profileFile_)};
    }

    std::string windowProperty(const std::string& window, const std::string& name) const
    {
        std::string output;
        RunCommand("DISPLAY=" + display_.name() + " xprop -id " + window + " " + name + " 2>/dev/null",
                   &output);
        return output;
    }

    TempDir root_;
    std::filesystem::path profileFile_;
    XvfbDisplay display_{1024, 768};
    std::unique_ptr<WindowManager> manager_;
};

TEST_F(WindowPositionTest, ARoundTripLeavesTheWindowWhereItWas)
{
    // A round that went wrong leaves the program running; the next ones would only meet it.
    const Placement first = startAndClose();
    ASSERT_FALSE(HasFailure());
    ASSERT_FALSE(first.left.empty()) << "the exit saved no position";
    const Placement second = startAndClose();
    ASSERT_FALSE(HasFailure());
    const Placement third = startAndClose();
    ASSERT_FALSE(HasFailure());
    EXPECT_EQ(second.shownAt, first.shownAt);
    EXPECT_EQ(third.shownAt, first.shownAt);
    EXPECT_EQ(std::make_pair(second.left, second.top), std::make_pair(first.left, first.top));
    EXPECT_EQ(std::make_pair(third.left, third.top), std::make_pair(first.left, first.top));
}

} // namespace
} // namespace kv::test
