#include "startup/program_desktop_entries.h"

#include "startup/toolbar_button.h"

namespace kv {

ProgramDesktopEntries::ProgramDesktopEntries(clsRegAccess& registry, XdgLauncher launcher,
                                             std::filesystem::path program, std::filesystem::path icon)
    : registry_(registry), launcher_(std::move(launcher)), program_(std::move(program)),
      icon_(std::move(icon))
{
}

void ProgramDesktopEntries::addToolbarButton()
{
    AddToolbarButton(registry_, program_, icon_);
}

void ProgramDesktopEntries::removeToolbarButton()
{
    RemoveToolbarButton(registry_);
}

bool ProgramDesktopEntries::toolbarButtonPresent()
{
    return ToolbarButtonPresent(registry_);
}

void ProgramDesktopEntries::createQuickLaunchShortcut()
{
    launcher_.install();
}

void ProgramDesktopEntries::deleteQuickLaunchShortcut()
{
    if (launcher_.installed())
        launcher_.remove();
}

bool ProgramDesktopEntries::quickLaunchShortcutExists()
{
    return launcher_.installed();
}

} // namespace kv
