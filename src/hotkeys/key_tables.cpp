#include "hotkeys/key_tables.h"

#include "platform/global_hotkeys.h"

#include <utility>

namespace kv {
namespace {

struct NamedKey {
    std::string name;
    unsigned code;
};

std::string Digit(int digit, std::string_view where)
{
    return std::to_string(digit) + " (" + std::string(where) + ")";
}

const std::vector<NamedKey>& KeyTable()
{
    static const std::vector<NamedKey> table = [] {
        std::vector<NamedKey> keys;
        for (int digit = 0; digit <= 9; ++digit) {
            keys.push_back({Digit(digit, "number strip"), 48u + static_cast<unsigned>(digit)});
            keys.push_back({Digit(digit, "number pad"), 96u + static_cast<unsigned>(digit)});
        }
        for (char letter = 'A'; letter <= 'Z'; ++letter)
            keys.push_back({std::string(1, letter), static_cast<unsigned>(letter)});
        const std::pair<const char*, unsigned> named[] = {{"+ (number pad)", 107},
                                                          {"- (number pad)", 109},
                                                          {"* (number pad)", 106},
                                                          {"/ (number pad)", 111},
                                                          {". (number pad)", 110},
                                                          {"`", 192},
                                                          {"_", 189},
                                                          {"=", 187},
                                                          {",", 188},
                                                          {".", 190},
                                                          {"/", 191},
                                                          {";", 186},
                                                          {"'", 222},
                                                          {"[", 219},
                                                          {"]", 221},
                                                          {"\\", 220},
                                                          {"Backspace", 8},
                                                          {"Capslock", 20},
                                                          {"Delete", 46},
                                                          {"End", 35},
                                                          {"Enter", 13},
                                                          {"Escape", 27},
                                                          {"Home", 36},
                                                          {"Insert", 45},
                                                          {"Pagedown", 34},
                                                          {"Pageup", 33},
                                                          {"Space", 32},
                                                          {"Tab", 9},
                                                          {"Up", 38},
                                                          {"Down", 40},
                                                          {"Right", 39},
                                                          {"Left", 37}};
        for (const auto& [name, code] : named)
            keys.push_back({name, code});
        return keys;
    }();
    return table;
}

} // namespace

unsigned ModifierOfName(std::string_view name)
{
    if (name == "Control")
        return kHotkeyModControl;
    if (name == "Alt")
        return kHotkeyModAlt;
    if (name == "Shift")
        return kHotkeyModShift;
    return 0;
}

unsigned KeyOfName(std::string_view name)
{
    for (const NamedKey& key : KeyTable())
        if (key.name == name)
            return key.code;
    return 0;
}

std::vector<std::string> PressKeyNamesAsDesigned()
{
    std::vector<std::string> names;
    for (int digit = 0; digit <= 9; ++digit)
        names.push_back(Digit(digit, "number strip"));
    for (int digit = 0; digit <= 9; ++digit)
        names.push_back(Digit(digit, "number pad"));
    for (const char* name : {"+ (number pad)",
                             "- (number pad)",
                             "/ (number pad)",
                             ". (number pad)",
                             "Backspace",
                             "Capslock",
                             "Delete",
                             "End",
                             "Enter",
                             "Escape",
                             "Home",
                             "Insert",
                             "Pagedown",
                             "Pageup",
                             "Space",
                             "Tab",
                             "Up",
                             "Down",
                             "Left",
                             "Right"})
        names.emplace_back(name);
    return names;
}

std::vector<std::string> PressKeyNamesAddedAtLoad()
{
    std::vector<std::string> names{"`", "_", "=", ",", ".", "/", ";", "'", "[", "]", "\\"};
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        names.emplace_back(1, letter);
    return names;
}

} // namespace kv
