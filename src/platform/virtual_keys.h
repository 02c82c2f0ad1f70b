#pragma once
// Virtual-key codes of the hotkey tables as X keysyms. Keys are found through their keysyms
// (F1 is XK_F1, never whatever character a layout puts on some key), so a hotkey means the
// same key on every keyboard layout.
#include <optional>
#include <string>

namespace kv {

struct KeySymbol {
    unsigned long keysym = 0;
    std::string name; // the keysym's name, as the freedesktop shortcut triggers spell keys
};

// nullopt for a code no hotkey can use (0 among them).
std::optional<KeySymbol> KeySymbolOfVirtualKey(unsigned virtualKey);

} // namespace kv
