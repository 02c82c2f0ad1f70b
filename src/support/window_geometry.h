#pragma once
// Where a window goes when it is centred; the caller moves it. Units are the
// window system's, whatever the caller measures in.
namespace kv {

struct WindowRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct ScreenSize {
    int width = 0;
    int height = 0;
};

// The window moved to the middle of the screen (size unchanged).
WindowRect CentreOnScreen(const WindowRect& window, const ScreenSize& screen);

// The child moved so that its centre lies over the parent's centre (size unchanged).
WindowRect CentreOverForm(const WindowRect& parent, const WindowRect& child);

} // namespace kv
