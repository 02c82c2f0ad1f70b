#include "platform/x11_global_hotkeys.h"

#include "platform/virtual_keys.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <array>

namespace kv {
namespace {

// The error the server reported for requests made inside an ErrorTrap.
int trappedError = Success;

int RecordError(Display*, XErrorEvent* error)
{
    trappedError = error->error_code;
    return 0;
}

// Catches the errors of the requests made while it lives instead of letting Xlib's default
// handler end the program; the requests are checked with the server before it goes.
class ErrorTrap {
public:
    explicit ErrorTrap(Display* display) : display_(display)
    {
        XSync(display_, False);
        trappedError = Success;
        previous_ = XSetErrorHandler(RecordError);
    }
    ~ErrorTrap()
    {
        XSync(display_, False);
        XSetErrorHandler(previous_);
    }
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    bool failed()
    {
        XSync(display_, False);
        return trappedError != Success;
    }

private:
    Display* display_;
    XErrorHandler previous_;
};

// The modifier bit that NumLock sets on this server (Mod2 on most).
unsigned NumLockMask(Display* display)
{
    unsigned mask = Mod2Mask;
    const KeyCode numLock = XKeysymToKeycode(display, XK_Num_Lock);
    XModifierKeymap* map = XGetModifierMapping(display);
    if (!map)
        return mask;
    for (int modifier = 0; numLock && modifier < 8; ++modifier)
        for (int k = 0; k < map->max_keypermod; ++k)
            if (map->modifiermap[modifier * map->max_keypermod + k] == numLock)
                mask = 1u << modifier;
    XFreeModifiermap(map);
    return mask;
}

unsigned XModifiers(unsigned modifiers)
{
    unsigned mask = 0;
    if (modifiers & kHotkeyModAlt)
        mask |= Mod1Mask;
    if (modifiers & kHotkeyModControl)
        mask |= ControlMask;
    if (modifiers & kHotkeyModShift)
        mask |= ShiftMask;
    return mask;
}

} // namespace

std::unique_ptr<X11GlobalHotkeys> X11GlobalHotkeys::connect(const std::string& displayName)
{
    Display* display = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
    if (!display)
        return nullptr;
    return std::unique_ptr<X11GlobalHotkeys>(new X11GlobalHotkeys(display));
}

X11GlobalHotkeys::X11GlobalHotkeys(Display* display)
    : display_(display), root_(DefaultRootWindow(display)), numLockMask_(NumLockMask(display))
{
    // A held key then repeats as presses alone, which tells a repeat from a new press.
    Bool supported = False;
    XkbSetDetectableAutoRepeat(display_, True, &supported);
}

X11GlobalHotkeys::~X11GlobalHotkeys()
{
    for (const auto& [id, grab] : grabs_)
        ungrabAllLockStates(grab);
    XCloseDisplay(display_);
}

bool X11GlobalHotkeys::registerHotkey(int id, unsigned modifiers, unsigned virtualKey, std::string_view)
{
    unregisterHotkey(id);
    const auto symbol = KeySymbolOfVirtualKey(virtualKey);
    const KeyCode keycode = symbol ? XKeysymToKeycode(display_, symbol->keysym) : 0;
    if (!keycode)
        return false;
    const Grab grab{keycode, XModifiers(modifiers)};
    // The server would let us grab our own combination twice; the second id would never fire.
    for (const auto& [other, held] : grabs_)
        if (held.keycode == grab.keycode && held.modifiers == grab.modifiers)
            return false;
    if (!grabAllLockStates(grab))
        return false;
    grabs_[id] = grab;
    return true;
}

void X11GlobalHotkeys::unregisterHotkey(int id)
{
    const auto it = grabs_.find(id);
    if (it == grabs_.end())
        return;
    ungrabAllLockStates(it->second);
    grabs_.erase(it);
}

bool X11GlobalHotkeys::grabAllLockStates(const Grab& grab)
{
    bool refused = false;
    {
        ErrorTrap trap(display_);
        for (unsigned locks : {0u, unsigned(LockMask), numLockMask_, LockMask | numLockMask_})
            XGrabKey(display_, grab.keycode, grab.modifiers | locks, root_, True, GrabModeAsync,
                     GrabModeAsync);
        refused = trap.failed();
    }
    // Another client holds some of the states: let go of those we got.
    if (refused)
        ungrabAllLockStates(grab);
    return !refused;
}

void X11GlobalHotkeys::ungrabAllLockStates(const Grab& grab)
{
    // Releases only what this connection grabbed; another client's grabs stay.
    ErrorTrap trap(display_);
    for (unsigned locks : {0u, unsigned(LockMask), numLockMask_, LockMask | numLockMask_})
        XUngrabKey(display_, grab.keycode, grab.modifiers | locks, root_);
}

int X11GlobalHotkeys::connectionFd() const
{
    return ConnectionNumber(display_);
}

bool X11GlobalHotkeys::hasQueuedEvents() const
{
    return XEventsQueued(display_, QueuedAlready) > 0;
}

void X11GlobalHotkeys::processEvents()
{
    XEventsQueued(display_, QueuedAfterReading);
    if (delivering_)
        return;
    delivering_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{delivering_};
    while (XEventsQueued(display_, QueuedAfterReading) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type == KeyPress || event.type == KeyRelease)
            deliver(event.type, event.xkey.keycode, event.xkey.state);
    }
}

void X11GlobalHotkeys::deliver(int type, unsigned keycode, unsigned state)
{
    if (type == KeyRelease) {
        if (keycode == heldKeycode_)
            heldKeycode_ = 0;
        return;
    }
    if (keycode == heldKeycode_)
        return;
    // Only the modifier keys count: an event's state also carries the pointer buttons held and,
    // on a server with several keyboard layouts, the layout in use, neither of which a grab names.
    constexpr unsigned kModifierKeys =
        ShiftMask | LockMask | ControlMask | Mod1Mask | Mod2Mask | Mod3Mask | Mod4Mask | Mod5Mask;
    const unsigned modifiers = state & kModifierKeys & ~(LockMask | numLockMask_);
    for (const auto& [id, grab] : grabs_) {
        if (grab.keycode == keycode && grab.modifiers == modifiers) {
            heldKeycode_ = keycode;
            if (events())
                events()->HotkeyPressed(id);
            return;
        }
    }
}

} // namespace kv
