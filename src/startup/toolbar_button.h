#pragma once
// The browser toolbar button: one registry key named by the program's button identifier,
// holding the button's caption, command and icon. While the key exists, the program's browser
// shows the button.
#include "support/reg_access.h"

#include <filesystem>
#include <string_view>

namespace kv {

inline constexpr std::string_view kToolbarButtonKey =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Internet "
    "Explorer\\Extensions\\{6C1F0B9A-4E2D-4B7C-9A3E-2F5D8C1B7E40}";
inline constexpr std::string_view kToolbarButtonText = "Kestrelyn Vormaplex";

// Writes the key with all its values; the program and its icon as installed.
void AddToolbarButton(clsRegAccess& registry, const std::filesystem::path& program,
                      const std::filesystem::path& icon);
void RemoveToolbarButton(clsRegAccess& registry);
bool ToolbarButtonPresent(clsRegAccess& registry);

} // namespace kv
