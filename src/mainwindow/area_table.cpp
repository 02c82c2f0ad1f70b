#include "mainwindow/area_table.h"

namespace kv {

const std::array<Area, kAreaCount> kAreas{{
    {1, "Sites", 100, "&Sites", "Sites", "Login to a site", 'S', "sites", "/support/sites.asp"},
    {2, "Hotkeys", 101, "&Hotkeys", "Hotkeys", "Hotkey setup", 'H', "hotkeys", "/support/hotkeys.asp"},
    {3, "Tools", 102, "&Tools", "Tools", "Kestrelyn tools", 'T', "tools", "/support/tools.asp"},
    {4, "Time Saved", 103, "&Time Saved", "Time Saved", "Print the active document", 'M', "timesaved",
     "/support/timesaved.asp"},
    {5, "Security Audit", 104, "&Security Audit", "Security Audit", "Audit password security", 'A',
     "securityaudit", "/support/securityaudit.asp"},
    {6, "Import/Export", 105, "&Import/Export", "Import/Export", "Import/Export area", 'I', "importexport",
     "/support/importexport.asp"},
    {7, "Options", 106, "&Options", "Options", "Options area", 'O', "options", "/support/options.asp"},
    {8, "Updates", 107, "&Update", "Update", "Update area", 'U', "updates", "/support/updates.asp"},
    {9, "News", 108, "&News", "News", "News area", 'N', "news", "/support/news.asp"},
    {10, "About", 109, "&About", "About", "About Kestrelyn", 'B', "about", "/support/about.asp"},
}};

Command AreaCommand(const Area& area)
{
    return {area.commandId, area.menuCaption, area.tooltip, area.description, "Menu"};
}

const Area* AreaAtPosition(int position)
{
    if (position < 0 || position >= kAreaCount)
        return nullptr;
    return &kAreas[static_cast<std::size_t>(position)];
}

} // namespace kv
