#pragma once
// The program's lock. Locking (Ctrl+L, the tray, idle minutes, or the desktop session
// locking) hides the window and drops everything decrypted it holds; showing it again
// asks the profile's login first, as at start-up. A profile that asks for no login has
// nothing to ask, so its lock is off.
#include <chrono>
#include <filesystem>
#include <functional>

namespace kv {

class ProgramLock {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    struct Window {
        std::function<void()> hideAndForget; // hide every window, drop decrypted values
        std::function<void()> show;
        std::function<bool()> passLogin; // the profile's login dialogs; true when passed
        std::function<bool()> loginEnabled;
    };

    ProgramLock(std::filesystem::path profileFile, Clock clock, Window window);

    bool available() const { return window_.loginEnabled(); }
    bool locked() const { return locked_; }

    // Nothing happens when the lock is off.
    void lock();
    // Input in any of the program's windows.
    void userActive() { lastActive_ = clock_(); }
    // Locks once the idle minutes of the settings have passed since the last input.
    void idleCheck();
    // Shows the window; a locked one only after its login is passed. True when shown.
    bool show();

private:
    std::filesystem::path profileFile_;
    Clock clock_;
    Window window_;
    std::chrono::steady_clock::time_point lastActive_;
    bool locked_ = false;
    bool asking_ = false; // a login dialog is open: a second show waits for it
};

} // namespace kv
