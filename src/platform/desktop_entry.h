#pragma once
// Freedesktop desktop entries that start the program: the application-menu launcher and the
// session autostart file are both one.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

inline constexpr std::string_view kDesktopEntryFileName = "kestrelyn-vormaplex.desktop";
// The icon's name in the desktop's icon theme.
inline constexpr std::string_view kDesktopIconName = "kestrelyn-vormaplex";

struct DesktopEntry {
    std::string name;
    std::string comment; // none when empty
    std::filesystem::path program;
    std::string categories; // none when empty; the application menu files the entry by them
};

// The entry's text; the program is quoted and escaped as the Exec key requires, so that any
// path starts exactly that program without arguments.
std::string DesktopEntryText(const DesktopEntry& entry);

// Writes the entry's text as the whole file, making its folder when missing; false when the
// file could not be written.
bool WriteDesktopEntry(const std::filesystem::path& file, const DesktopEntry& entry);

// The program an entry starts (the first word of its Exec key, unquoted); nothing when the
// text has no [Desktop Entry] group with an Exec key.
std::optional<std::filesystem::path> DesktopEntryProgram(std::string_view text);

} // namespace kv
