#pragma once
// The names the profile gives the hide/show hotkey's modifier (HOLDKEY) and key (PRESSKEY),
// and the codes they stand for. Names compare exactly, case and blanks included.
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// Alt 1, Control 2, Shift 4; any other name 0 (no modifier).
unsigned ModifierOfName(std::string_view name);
// The virtual-key code of a key name; 0 for a name not in the table.
unsigned KeyOfName(std::string_view name);

// The virtual key of site hotkey n (1 to 10): F1 to F10.
inline constexpr unsigned SiteHotkeyKey(int hotkeyNumber)
{
    return 111u + static_cast<unsigned>(hotkeyNumber);
}

// The modifier names as the options panel offers them.
inline constexpr std::array<std::string_view, 3> kHoldKeyNames{"Control", "Alt", "Shift"};
// The key names the options panel offers: the list as designed, then the names the main
// window adds when it loads. "* (number pad)" is a known name that is not offered.
std::vector<std::string> PressKeyNamesAsDesigned();
std::vector<std::string> PressKeyNamesAddedAtLoad();

} // namespace kv
