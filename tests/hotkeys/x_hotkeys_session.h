#pragma once
// A private X server with the program's hotkeys on it, xdotool to press keys there, and a
// second X client standing for another program. Used by the hotkey tests and the benchmark.
#include "browser/chromium/chromium_session.h"
#include "gui/x_session.h"
#include "platform/global_hotkeys.h"
#include "platform/x11_global_hotkeys.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
// Xlib's macros of these names would break the test framework's own.
#undef Bool
#undef None

#include <chrono>
#include <functional>
#include <memory>
#include <poll.h>
#include <string>
#include <vector>

namespace kv::test {

inline bool XToolsMissing(std::string* which)
{
    for (const char* tool : {"Xvfb", "xdotool"}) {
        if (!ProgramOnPath(tool)) {
            *which = std::string(tool) + " is not installed (scripts/install-deps installs it)";
            return true;
        }
    }
    return false;
}

class PressRecorder : public GlobalHotkeyEvents {
public:
    void HotkeyPressed(int id) override { pressed.push_back(id); }
    void HotkeyRefused(int id) override { refused.push_back(id); }
    std::vector<int> pressed;
    std::vector<int> refused;
};

// Presses keys on the display as a user would ("ctrl+F3", "Num_Lock").
inline bool PressKeys(const XvfbDisplay& display, const std::string& keys)
{
    return RunCommand("DISPLAY=" + display.name() + " xdotool key " + keys + " 2>&1");
}

// Delivers the hotkeys' events (and runs the browser, when given) until done() holds or the
// limit passes; returns done().
inline bool RunHotkeysUntil(X11GlobalHotkeys& hotkeys, const std::function<bool()>& done,
                            std::chrono::milliseconds limit, ChromiumSession* browser = nullptr)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        hotkeys.processEvents();
        if (browser)
            browser->dispatchPending();
        if (done())
            return true;
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        pollfd fds[2] = {{hotkeys.connectionFd(), POLLIN, 0}, {browser ? browser->readFd() : -1, POLLIN, 0}};
        poll(fds, 2, 20);
        if (browser && (fds[1].revents & (POLLIN | POLLHUP)))
            browser->processIncoming();
        if (browser)
            browser->runBackgroundWork();
    }
}

// Another program on the same X server, holding key grabs of its own.
class OtherXClient {
public:
    explicit OtherXClient(const std::string& displayName) : display_(XOpenDisplay(displayName.c_str())) {}
    ~OtherXClient()
    {
        if (display_)
            XCloseDisplay(display_);
    }
    OtherXClient(const OtherXClient&) = delete;
    OtherXClient& operator=(const OtherXClient&) = delete;

    bool connected() const { return display_ != nullptr; }

    // Grabs the key with exactly these X modifiers; false when the server refused.
    bool grab(unsigned long keysym, unsigned modifiers)
    {
        XSync(display_, False);
        error() = Success;
        const XErrorHandler previous = XSetErrorHandler(Record);
        XGrabKey(display_, XKeysymToKeycode(display_, keysym), modifiers, DefaultRootWindow(display_), True,
                 GrabModeAsync, GrabModeAsync);
        XSync(display_, False);
        XSetErrorHandler(previous);
        return error() == Success;
    }

    // Waits for a press of the key to reach this client.
    bool waitForPress(unsigned long keysym, std::chrono::milliseconds limit)
    {
        const KeyCode keycode = XKeysymToKeycode(display_, keysym);
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline) {
            while (XPending(display_) > 0) {
                XEvent event;
                XNextEvent(display_, &event);
                if (event.type == KeyPress && event.xkey.keycode == keycode)
                    return true;
            }
            pollfd fd{ConnectionNumber(display_), POLLIN, 0};
            poll(&fd, 1, 20);
        }
        return false;
    }

    // The lock modifiers now on (NumLock, CapsLock) as X modifier bits.
    unsigned lockedModifiers()
    {
        XkbStateRec state{};
        XkbGetState(display_, XkbUseCoreKbd, &state);
        return state.locked_mods;
    }

private:
    static int& error()
    {
        static int code = Success;
        return code;
    }
    static int Record(Display*, XErrorEvent* event)
    {
        error() = event->error_code;
        return 0;
    }

    Display* display_;
};

} // namespace kv::test
