#pragma once
// Which hotkeys the program holds: the hide/show hotkey (id 0) when the profile switches it
// on, and every site hotkey n (id n, Ctrl+Fn) whose list is not empty. A combination that
// cannot be had is reported once per failed registration, and the program runs on without it.
#include "platform/global_hotkeys.h"
#include "support/dialogs.h"

#include <array>
#include <filesystem>
#include <functional>
#include <string>

namespace kv {

inline constexpr int kHideShowHotkeyId = 0;

class HotkeyRegistration : public GlobalHotkeyEvents {
public:
    HotkeyRegistration(GlobalHotkeys& hotkeys, Dialogs& dialogs, std::filesystem::path profileFile);
    ~HotkeyRegistration() override;
    HotkeyRegistration(const HotkeyRegistration&) = delete;
    HotkeyRegistration& operator=(const HotkeyRegistration&) = delete;

    // Where presses of registered hotkeys go, by id.
    void setPressedHandler(std::function<void(int id)> pressed) { pressed_ = std::move(pressed); }

    // Registers every hotkey the profile configures, in id order.
    void RegisterHotkeys();
    // Releases every hotkey held.
    void UnregisterHotkeys();
    // The hide/show hotkey alone, as the options panel changes it; false when the
    // combination cannot be had (the options panel says so in its own words).
    bool registerHideShow(std::string_view holdKeyName, std::string_view pressKeyName);
    void unregisterHideShow();

    bool registered(int id) const;

    // GlobalHotkeyEvents
    void HotkeyPressed(int id) override;
    void HotkeyRefused(int id) override;

private:
    bool take(int id, unsigned modifiers, unsigned virtualKey, std::string_view description);
    void release(int id);
    void reportUnavailable(int id) const;

    GlobalHotkeys& hotkeys_;
    Dialogs& dialogs_;
    std::filesystem::path profileFile_;
    std::function<void(int)> pressed_;
    std::array<bool, 11> registered_{};
    std::string hideShowKeyName_; // the key the hide/show hotkey was asked for, for its message
};

} // namespace kv
