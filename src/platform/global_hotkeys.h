#pragma once
// System-wide hotkeys: key combinations the desktop delivers to the program whichever
// application has the focus. Combinations are named by modifier flags and virtual-key
// codes, as the hotkey tables of the profile give them.
#include <string_view>

namespace kv {

inline constexpr unsigned kHotkeyModAlt = 1;
inline constexpr unsigned kHotkeyModControl = 2;
inline constexpr unsigned kHotkeyModShift = 4;

// Told of what happens to registered hotkeys. Delivered one at a time on the thread that
// drives the implementation, never inside another of these calls.
class GlobalHotkeyEvents {
public:
    virtual ~GlobalHotkeyEvents() = default;
    virtual void HotkeyPressed(int id) = 0;
    // A hotkey whose registration was accepted has been refused since (a desktop service
    // that answers later, or went away); the id is no longer registered.
    virtual void HotkeyRefused(int id) = 0;
};

class GlobalHotkeys {
public:
    virtual ~GlobalHotkeys() = default;

    // Takes the combination for id (replacing what id held). False when it cannot be had:
    // another program holds it, the key is not on the keyboard, or the desktop offers no
    // system-wide hotkeys. The description is what a desktop that lists shortcuts shows.
    virtual bool registerHotkey(int id, unsigned modifiers, unsigned virtualKey,
                                std::string_view description) = 0;
    // Releases what id holds; nothing when it holds nothing.
    virtual void unregisterHotkey(int id) = 0;

    void setEvents(GlobalHotkeyEvents* events) { events_ = events; }

protected:
    GlobalHotkeyEvents* events() const { return events_; }

private:
    GlobalHotkeyEvents* events_ = nullptr;
};

} // namespace kv
