#include "startup/toolbar_button.h"

#include <string>
#include <utility>

namespace kv {

void AddToolbarButton(clsRegAccess& registry, const std::filesystem::path& program,
                      const std::filesystem::path& icon)
{
    const std::pair<std::string_view, std::string> values[] = {
        {"ButtonText", std::string(kToolbarButtonText)},
        // The browser's class of buttons that start a program.
        {"CLSID", "{1FBA04EE-3024-11D2-8F1F-0000F87ABD16}"},
        {"Default Visible", "Yes"},
        {"Exec", program.string()},
        {"HotIcon", icon.string()},
        {"Icon", icon.string()},
        {"MenuStatusBar", std::string(kToolbarButtonText)},
        {"MenuText", "&" + std::string(kToolbarButtonText)},
    };
    const std::string key(kToolbarButtonKey);
    for (const auto& [name, value] : values)
        registry.WriteString(key, std::string(name), value);
}

void RemoveToolbarButton(clsRegAccess& registry)
{
    registry.KillKey(std::string(kToolbarButtonKey));
}

bool ToolbarButtonPresent(clsRegAccess& registry)
{
    return registry.KeyExists(std::string(kToolbarButtonKey));
}

} // namespace kv
