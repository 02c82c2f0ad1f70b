#pragma once
// The program's entries in the desktop around it, kept by the options panel and also
// touched by installation and by the creation of a profile.
namespace kv {

class DesktopShortcuts {
public:
    virtual ~DesktopShortcuts() = default;
    virtual void addToolbarButton() = 0;
    virtual void removeToolbarButton() = 0;
    virtual bool toolbarButtonPresent() = 0;
    // The program's launcher in the desktop's application menu.
    virtual void createQuickLaunchShortcut() = 0;
    // Only when it exists.
    virtual void deleteQuickLaunchShortcut() = 0;
    virtual bool quickLaunchShortcutExists() = 0;
};

// For profiles made where there is no desktop to put entries on (a terminal, a test): the
// program's Options make them later.
class NoDesktopShortcuts : public DesktopShortcuts {
public:
    void addToolbarButton() override {}
    void removeToolbarButton() override {}
    bool toolbarButtonPresent() override { return false; }
    void createQuickLaunchShortcut() override {}
    void deleteQuickLaunchShortcut() override {}
    bool quickLaunchShortcutExists() override { return false; }
};

} // namespace kv
