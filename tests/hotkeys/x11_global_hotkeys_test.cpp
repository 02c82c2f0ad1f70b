// The X server's hotkeys against a real server (Xvfb), keys pressed with xdotool.
#include "x_hotkeys_test.h"

#include <X11/keysym.h>

namespace kv::test {
namespace {

constexpr unsigned kCtrl = kHotkeyModControl;
constexpr unsigned kF3 = 114, kF4 = 115, kF9 = 120;

// Ctrl+F9 is pressed last in tests that expect nothing before it: X delivers in order, so
// its arrival says that nothing else is still on its way.
constexpr int kSentinel = 9;

using Presses = std::vector<int>;

TEST_F(XHotkeysTest, OnlyTheRegisteredCombinationFires)
{
    ASSERT_TRUE(hotkeys->registerHotkey(3, kCtrl, kF3, "three"));
    ASSERT_TRUE(hotkeys->registerHotkey(kSentinel, kCtrl, kF9, "sentinel"));

    press("F3 alt+F3 ctrl+shift+F3 ctrl+F4 ctrl+F3 ctrl+F9");

    ASSERT_TRUE(waitForPresses(2));
    EXPECT_EQ(recorder.pressed, (Presses{3, kSentinel}));
}

TEST_F(XHotkeysTest, FiresWhateverLockKeyIsOn)
{
    ASSERT_TRUE(hotkeys->registerHotkey(3, kCtrl, kF3, "three"));
    OtherXClient observer(display->name());
    ASSERT_TRUE(observer.connected());

    press("Num_Lock");
    ASSERT_TRUE(observer.lockedModifiers() & Mod2Mask) << "NumLock did not come on";
    press("ctrl+F3");
    ASSERT_TRUE(waitForPresses(1));
    press("Caps_Lock");
    ASSERT_TRUE(observer.lockedModifiers() & LockMask) << "CapsLock did not come on";
    press("ctrl+F3");
    ASSERT_TRUE(waitForPresses(2));
    press("Num_Lock ctrl+F3");
    ASSERT_TRUE(waitForPresses(3));
    EXPECT_EQ(recorder.pressed, (Presses{3, 3, 3}));
}

// What another program holds is refused at once, and stays that program's: our failed
// attempt and our shutdown release nothing of it.
TEST_F(XHotkeysTest, ACombinationAnotherClientHoldsIsRefusedAndStaysItsOwn)
{
    OtherXClient other(display->name());
    ASSERT_TRUE(other.grab(XK_F4, ControlMask));

    EXPECT_FALSE(hotkeys->registerHotkey(4, kCtrl, kF4, "four"));
    EXPECT_TRUE(hotkeys->registerHotkey(3, kCtrl, kF3, "three"));
    hotkeys->unregisterHotkey(4);
    hotkeys.reset();

    press("ctrl+F4");
    EXPECT_TRUE(other.waitForPress(XK_F4, std::chrono::seconds(10))) << "the other client lost its key";
}

// A combination is taken in every lock state or not at all: a refused one leaves none of
// its states held by us.
TEST_F(XHotkeysTest, ARefusedCombinationKeepsNoneOfItsLockStates)
{
    OtherXClient other(display->name());
    ASSERT_TRUE(other.grab(XK_F4, ControlMask | LockMask));
    ASSERT_FALSE(hotkeys->registerHotkey(4, kCtrl, kF4, "four"));

    OtherXClient third(display->name());
    EXPECT_TRUE(third.grab(XK_F4, ControlMask));
    EXPECT_TRUE(third.grab(XK_F4, ControlMask | Mod2Mask));
}

TEST_F(XHotkeysTest, ReleasedCombinationsAreFreeForOthersAndSilent)
{
    ASSERT_TRUE(hotkeys->registerHotkey(3, kCtrl, kF3, "three"));
    ASSERT_TRUE(hotkeys->registerHotkey(kSentinel, kCtrl, kF9, "sentinel"));
    hotkeys->unregisterHotkey(3);

    OtherXClient other(display->name());
    EXPECT_TRUE(other.grab(XK_F3, ControlMask | Mod2Mask));
    press("ctrl+F3 ctrl+F9");
    ASSERT_TRUE(waitForPresses(1));
    EXPECT_EQ(recorder.pressed, Presses{kSentinel});
}

TEST_F(XHotkeysTest, OneCombinationBelongsToOneIdAndAnIdHoldsOneCombination)
{
    ASSERT_TRUE(hotkeys->registerHotkey(0, kCtrl, kF3, "hide/show"));
    EXPECT_FALSE(hotkeys->registerHotkey(3, kCtrl, kF3, "three"));
    // Registering id 0 again moves it: F3 is free for id 3 afterwards.
    ASSERT_TRUE(hotkeys->registerHotkey(0, kHotkeyModAlt, 38, "hide/show"));
    ASSERT_TRUE(hotkeys->registerHotkey(3, kCtrl, kF3, "three"));

    press("ctrl+F3 alt+Up");
    ASSERT_TRUE(waitForPresses(2));
    EXPECT_EQ(recorder.pressed, (Presses{3, 0}));
}

TEST_F(XHotkeysTest, AKeyHeldDownFiresOnce)
{
    ASSERT_TRUE(hotkeys->registerHotkey(3, kCtrl, kF3, "three"));
    ASSERT_TRUE(hotkeys->registerHotkey(kSentinel, kCtrl, kF9, "sentinel"));

    // Held past the repeat delay, the key repeats as presses without releases.
    ASSERT_TRUE(RunCommand("DISPLAY=" + display->name() +
                           " xdotool keydown ctrl keydown F3 sleep 1 keyup F3 keyup ctrl"));
    press("ctrl+F9 ctrl+F3");

    ASSERT_TRUE(waitForPresses(3));
    EXPECT_EQ(recorder.pressed, (Presses{3, kSentinel, 3}));
}

TEST_F(XHotkeysTest, KeysNoKeyboardHasAreRefused)
{
    EXPECT_FALSE(hotkeys->registerHotkey(0, kCtrl, 0, "none"));
    EXPECT_FALSE(hotkeys->registerHotkey(0, kCtrl, 255, "none"));
}

} // namespace
} // namespace kv::test
