#pragma once
// A main window for the hotkey rules: which of its dialogs are open, and whether it shows.
#include "hotkeys/hide_show_window.h"

#include <set>
#include <vector>

namespace kv::test {

class FakeHideShowWindow : public HideShowWindow {
public:
    bool dialogOpen(HotkeyDialog dialog) const override { return open.count(dialog) > 0; }
    void closeDialog(HotkeyDialog dialog) override
    {
        open.erase(dialog);
        closed.push_back(dialog);
    }
    bool windowVisible() const override { return visible; }
    void setWindowVisible(bool shown) override { visible = shown; }

    std::set<HotkeyDialog> open;
    std::vector<HotkeyDialog> closed;
    bool visible = true;
};

} // namespace kv::test
