#pragma once
// The rules of the save-site form frmYes: it proposes a name made from the page address,
// shows the category folders, and on "Save" checks the choice before handing back the
// folder and the name. A form that closes any other way leaves both empty.
#include "platform/trash.h"
#include "storage/sites_tree_model.h"
#include "support/dialogs.h"

#include <filesystem>
#include <optional>
#include <string>

namespace kv {

class SaveSiteDialog {
public:
    SaveSiteDialog(std::string pageUrl, std::filesystem::path sitesRoot, Dialogs& dialogs, Trash& trash);

    const std::string& PageUrl() const { return pageUrl_; }
    // Outputs: the chosen folder (ending in "/") and name; empty unless saved.
    const std::filesystem::path& FolderPath() const { return folderPath_; }
    const std::string& FriendlyName() const { return friendlyName_; }

    // The name proposed when the form opens.
    std::string initialName() const;
    // The root "Sites" and every category folder below it (no sites), root expanded.
    void loadFolders(SitesTreeModel& tree) const;
    // The name box takes Backspace, letters, digits and a few punctuation marks, nothing else.
    static bool acceptsCharacter(char character);
    // What a pasted or dropped text leaves in the name box: its name characters, in order.
    static std::string nameCharactersOf(std::string_view text);

    // "Save": true when the choice was taken and the form closes.
    bool cmdSave(const std::string& name, const SitesTreeNode* selected);

    // The folder menu: the root offers only "New Folder".
    bool offersRenameAndDelete(const SitesTreeNode& node) const;
    // The new folder's key, or nothing (nothing selected, a site selected, no free name).
    std::optional<std::string> mnuNewFolder(const SitesTreeNode* selected);
    // Whether label editing may start on the selection.
    bool mnuRenameFolder(const SitesTreeNode* selected);
    // The folder's new key, or nothing when the label is refused.
    std::optional<std::string> renameFolder(const SitesTreeNode& node, const std::string& label);
    // True when the user agreed to delete the folder (it went to the trash; the tree is then
    // reloaded).
    bool mnuDeleteFolder(const SitesTreeNode* selected);

private:
    bool isRoot(const SitesTreeNode& node) const;
    const SitesTreeNode* selectedFolder(const SitesTreeNode* selected);

    std::string pageUrl_;
    std::filesystem::path sitesRoot_;
    Dialogs& dialogs_;
    Trash& trash_;
    std::filesystem::path folderPath_;
    std::string friendlyName_;
};

} // namespace kv
