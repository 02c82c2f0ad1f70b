#pragma once
// The ten areas of the main window and the commands of its menu bar.
#include <array>
#include <optional>
#include <string_view>

namespace kv {

struct Area {
    int barId;                    // 1 to 10
    std::string_view barCaption;  // shown on the shortcut bar
    int commandId;                // 100 to 109: bar position + 100
    std::string_view menuCaption; // with its "&" mnemonic
    std::string_view tooltip;
    std::string_view description;
    char accelerator;          // Ctrl + this letter
    std::string_view iconName; // icons/<name>.svg under the data directory
    std::string_view helpPath; // below the maker's site
};

inline constexpr int kAreaCount = 10;
extern const std::array<Area, kAreaCount> kAreas;

enum AreaId : int {
    kAreaSites = 1,
    kAreaHotkeys,
    kAreaTools,
    kAreaTimeSaved,
    kAreaSecurityAudit,
    kAreaImportExport,
    kAreaOptions,
    kAreaUpdates,
    kAreaNews,
    kAreaAbout
};

struct Command {
    int id;
    std::string_view caption;
    std::string_view tooltip;
    std::string_view description;
    std::string_view category;
};

inline constexpr int kCommandFirstArea = 100;
inline constexpr int kCommandExit = 110;
inline constexpr int kCommandOnlineHelp = 112;
inline constexpr Command kExitCommand{kCommandExit, "&Exit", "Exit", "Exit Kestrelyn", "Menu"};
inline constexpr Command kOnlineHelpCommand{kCommandOnlineHelp, "&Online Help", "Online Help", "Online Help",
                                            "Online Help"};
inline constexpr std::string_view kMenuPopupCaption = "&Menu";
inline constexpr std::string_view kHelpPopupCaption = "&Help";

// The command of an area as the menu bar registers it.
Command AreaCommand(const Area& area);
// The area of a bar position 0 to 9, or nothing.
const Area* AreaAtPosition(int position);

} // namespace kv
