#pragma once
// System-wide hotkeys of an X server (also Xwayland): passive key grabs on the root window
// through a connection of our own. Each combination is grabbed once per lock-key state
// (none, CapsLock, NumLock, both), so a hotkey works whatever lock is on.
//
// Driving it: watch connectionFd() and call processEvents() when it is readable, and also
// whenever hasQueuedEvents() says that a call has left events in the queue.
#include "platform/global_hotkeys.h"

#include <map>
#include <memory>
#include <string>

struct _XDisplay;

namespace kv {

class X11GlobalHotkeys : public GlobalHotkeys {
public:
    // Connects to the X server named by displayName (empty: $DISPLAY); nullptr when none answers.
    static std::unique_ptr<X11GlobalHotkeys> connect(const std::string& displayName = {});
    // Releases every grab it holds and closes its connection.
    ~X11GlobalHotkeys() override;
    X11GlobalHotkeys(const X11GlobalHotkeys&) = delete;
    X11GlobalHotkeys& operator=(const X11GlobalHotkeys&) = delete;

    // A combination another client holds is found out at once: the grab is checked with the
    // server before this returns. One combination belongs to one id only.
    bool registerHotkey(int id, unsigned modifiers, unsigned virtualKey,
                        std::string_view description) override;
    void unregisterHotkey(int id) override;

    int connectionFd() const;
    bool hasQueuedEvents() const;
    // Reads what the server sent and delivers hotkey presses one at a time. Called from
    // inside a delivery it only reads; the outer call delivers the rest.
    void processEvents();

private:
    struct Grab {
        unsigned keycode = 0;
        unsigned modifiers = 0; // X modifier mask
    };

    explicit X11GlobalHotkeys(_XDisplay* display);
    // Grabs (or releases) the combination in every lock-key state; false when the server refused.
    bool grabAllLockStates(const Grab& grab);
    void ungrabAllLockStates(const Grab& grab);
    void deliver(int type, unsigned keycode, unsigned state);

    _XDisplay* display_;
    unsigned long root_;
    unsigned numLockMask_;
    std::map<int, Grab> grabs_;
    unsigned heldKeycode_ = 0; // a hotkey's key now down: its auto-repeats are not new presses
    bool delivering_ = false;
};

} // namespace kv
