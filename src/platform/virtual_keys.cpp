#include "platform/virtual_keys.h"

#include <X11/keysym.h>

#include <array>

namespace kv {
namespace {

struct NamedKey {
    unsigned virtualKey;
    unsigned long keysym;
    const char* name;
};

// The keys of the tables that are not one of a run (digits, letters, function keys).
constexpr std::array kNamedKeys{
    NamedKey{8, XK_BackSpace, "BackSpace"},
    NamedKey{9, XK_Tab, "Tab"},
    NamedKey{13, XK_Return, "Return"},
    NamedKey{20, XK_Caps_Lock, "Caps_Lock"},
    NamedKey{27, XK_Escape, "Escape"},
    NamedKey{32, XK_space, "space"},
    NamedKey{33, XK_Prior, "Prior"},
    NamedKey{34, XK_Next, "Next"},
    NamedKey{35, XK_End, "End"},
    NamedKey{36, XK_Home, "Home"},
    NamedKey{37, XK_Left, "Left"},
    NamedKey{38, XK_Up, "Up"},
    NamedKey{39, XK_Right, "Right"},
    NamedKey{40, XK_Down, "Down"},
    NamedKey{45, XK_Insert, "Insert"},
    NamedKey{46, XK_Delete, "Delete"},
    NamedKey{106, XK_KP_Multiply, "KP_Multiply"},
    NamedKey{107, XK_KP_Add, "KP_Add"},
    NamedKey{109, XK_KP_Subtract, "KP_Subtract"},
    NamedKey{110, XK_KP_Decimal, "KP_Decimal"},
    NamedKey{111, XK_KP_Divide, "KP_Divide"},
    NamedKey{186, XK_semicolon, "semicolon"},
    NamedKey{187, XK_equal, "equal"},
    NamedKey{188, XK_comma, "comma"},
    NamedKey{189, XK_minus, "minus"},
    NamedKey{190, XK_period, "period"},
    NamedKey{191, XK_slash, "slash"},
    NamedKey{192, XK_grave, "grave"},
    NamedKey{219, XK_bracketleft, "bracketleft"},
    NamedKey{220, XK_backslash, "backslash"},
    NamedKey{221, XK_bracketright, "bracketright"},
    NamedKey{222, XK_apostrophe, "apostrophe"},
};

constexpr unsigned kVirtualKey0 = 48;
constexpr unsigned kVirtualKeyA = 65;
constexpr unsigned kVirtualKeyNumpad0 = 96;
constexpr unsigned kVirtualKeyF1 = 112;
constexpr unsigned kFunctionKeys = 12;

} // namespace

std::optional<KeySymbol> KeySymbolOfVirtualKey(unsigned virtualKey)
{
    if (virtualKey >= kVirtualKey0 && virtualKey < kVirtualKey0 + 10) {
        const unsigned digit = virtualKey - kVirtualKey0;
        return KeySymbol{XK_0 + digit, std::string(1, static_cast<char>('0' + digit))};
    }
    if (virtualKey >= kVirtualKeyA && virtualKey < kVirtualKeyA + 26) {
        // The lower-case keysym names the key; the upper case is its shifted level.
        const unsigned letter = virtualKey - kVirtualKeyA;
        return KeySymbol{XK_a + letter, std::string(1, static_cast<char>('a' + letter))};
    }
    if (virtualKey >= kVirtualKeyNumpad0 && virtualKey < kVirtualKeyNumpad0 + 10) {
        const unsigned digit = virtualKey - kVirtualKeyNumpad0;
        return KeySymbol{XK_KP_0 + digit, "KP_" + std::to_string(digit)};
    }
    if (virtualKey >= kVirtualKeyF1 && virtualKey < kVirtualKeyF1 + kFunctionKeys) {
        const unsigned n = virtualKey - kVirtualKeyF1;
        return KeySymbol{XK_F1 + n, "F" + std::to_string(n + 1)};
    }
    for (const NamedKey& key : kNamedKeys)
        if (key.virtualKey == virtualKey)
            return KeySymbol{key.keysym, key.name};
    return std::nullopt;
}

} // namespace kv
