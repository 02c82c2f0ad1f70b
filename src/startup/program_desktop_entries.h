#pragma once
// The desktop entries of the installed program: its launcher in the application menu (with its
// icon) and its browser toolbar button.
#include "platform/xdg_launcher.h"
#include "startup/desktop_shortcuts.h"
#include "support/reg_access.h"

#include <filesystem>

namespace kv {

class ProgramDesktopEntries : public DesktopShortcuts {
public:
    // program: the program as installed; icon: its icon file in the program's data directory.
    ProgramDesktopEntries(clsRegAccess& registry, XdgLauncher launcher, std::filesystem::path program,
                          std::filesystem::path icon);

    void addToolbarButton() override;
    void removeToolbarButton() override;
    bool toolbarButtonPresent() override;
    void createQuickLaunchShortcut() override;
    void deleteQuickLaunchShortcut() override;
    bool quickLaunchShortcutExists() override;

private:
    clsRegAccess& registry_;
    XdgLauncher launcher_;
    std::filesystem::path program_;
    std::filesystem::path icon_;
};

} // namespace kv
