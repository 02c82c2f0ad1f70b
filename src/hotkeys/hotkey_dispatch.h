#pragma once
// What a hotkey press does: id 0 hides or shows the main window, ids 1 to 10 log into the
// sites of that site hotkey, any other id nothing.
#include "hotkeys/hide_show_window.h"

#include <functional>

namespace kv {

class HotkeyDispatch {
public:
    HotkeyDispatch(HideShowWindow& window, std::function<void(int hotkeyNumber)> loginHotkeySites);

    void HotkeyPressed(int id);

private:
    void hideOrShow();

    HideShowWindow& window_;
    std::function<void(int)> loginHotkeySites_;
};

} // namespace kv
