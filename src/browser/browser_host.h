#pragma once
// What the browser rules ask of the main window. The main window implements it; tests record it.
namespace kv {

class BrowserHost {
public:
    virtual ~BrowserHost() = default;
    // Bring the main window forward: a save question is about to be asked.
    virtual void activate() = 0;
    // Rebuild the site tree from disk: a site was saved.
    virtual void reloadSitesTree() = 0;
    // A page finished loading: when secure browsing is switched on, clean cookies, history
    // and temporary files without asking.
    virtual void secureBrowsingPass() = 0;
    // Select the Hotkeys area of the shortcut bar: an empty hotkey was pressed.
    virtual void showHotkeysArea() = 0;
};

} // namespace kv
