#pragma once
// The fixture of the X server hotkey tests.
#include <gtest/gtest.h>

#include "x_hotkeys_session.h"

namespace kv::test {

// Each test gets its own X server and the program's hotkeys on it.
class XHotkeysTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string missing;
        if (XToolsMissing(&missing))
            GTEST_SKIP() << missing;
        display = std::make_unique<XvfbDisplay>(1024, 768);
        ASSERT_TRUE(display->ready()) << "Xvfb did not start";
        hotkeys = X11GlobalHotkeys::connect(display->name());
        ASSERT_TRUE(hotkeys) << "cannot connect to " << display->name();
        hotkeys->setEvents(&recorder);
    }
    void TearDown() override
    {
        // Our connection goes before the server does.
        hotkeys.reset();
        display.reset();
    }

    void press(const std::string& keys) { ASSERT_TRUE(PressKeys(*display, keys)) << "xdotool key " << keys; }
    // Runs until `count` presses have been delivered; fails loudly when they do not come.
    bool waitForPresses(std::size_t count)
    {
        const bool came = RunHotkeysUntil(
            *hotkeys, [&] { return recorder.pressed.size() >= count; }, std::chrono::seconds(10));
        EXPECT_TRUE(came) << "only " << recorder.pressed.size() << " of " << count << " presses arrived";
        return came;
    }

    std::unique_ptr<XvfbDisplay> display;
    std::unique_ptr<X11GlobalHotkeys> hotkeys;
    PressRecorder recorder;
};

} // namespace kv::test
