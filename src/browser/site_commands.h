#pragma once
// The main window's site commands: each starts from the node selected in the site tree
// (nullptr when none is), telling folders (image 1) from sites (image 2).
#include "browser/login_engine.h"
#include "storage/sites_tree_model.h"
#include "support/dialogs.h"

namespace kv {

class SiteCommands {
public:
    SiteCommands(LoginEngine& engine, Dialogs& dialogs) : engine_(engine), dialogs_(dialogs) {}

    // Opens the site's page without logging in.
    void cmdGoToSite(const SitesTreeNode* selected);
    void cmd_LaunchAndLogin(const SitesTreeNode* selected);
    void mnuLogin(const SitesTreeNode* selected);
    // Every site below the folder, its own sites before those of its subfolders.
    void mnuLoginAllSites(const SitesTreeNode* selected);
    // Switches the site between Velotrip and fill-and-submit; returns the new check mark.
    bool mnuVelotrip(const SitesTreeNode* selected, bool checked);

private:
    bool reportMissing(const SitesTreeNode* selected);

    LoginEngine& engine_;
    Dialogs& dialogs_;
};

} // namespace kv
