#pragma once
// The launcher files and the browser button belong to the options; until they exist
// here, the install and uninstall switches change nothing on the desktop.
#include "startup/desktop_shortcuts.h"

namespace kv {

class UnavailableDesktopShortcuts : public DesktopShortcuts {
public:
    void addToolbarButton() override {}
    void removeToolbarButton() override {}
    void createQuickLaunchShortcut() override {}
    void deleteQuickLaunchShortcut() override {}
};

} // namespace kv
