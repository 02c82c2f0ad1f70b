#pragma once
// fraSites: the site tree with its context menus, buttons and the secure-browsing box.
// The rules live in site_tree_commands; this frame shows and forwards.
#include "browser/capture_log.h"
#include "browser/url_launcher.h"
#include "platform/trash.h"
#include "sites/site_search.h"
#include "support/dialogs.h"

#include <QGroupBox>
#include <filesystem>
#include <functional>
#include <optional>

class QAction;
class QCheckBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QTreeWidgetItem;

namespace kv {

class SecretClipboard;
class SiteCommands;
class SitesTreeWidget;
struct SitesTreeNode;

// What the Sites area needs from the rest of the program.
struct SitesAreaContext {
    std::filesystem::path profileDirectory;
    std::filesystem::path profileFile;
    Dialogs& dialogs;
    UrlLauncher& launcher;
    Trash& trash; // where deleted sites and folders go
    // The login commands; they stay visibly disabled while there is no login engine.
    SiteCommands* siteCommands = nullptr;
    // Where "Copy password" and "Copy login" put a value; the two are hidden without it.
    SecretClipboard* clipboard = nullptr;
    // The capture decisions, shown under the tree when there is a browser side.
    CaptureLog* captureLog = nullptr;
};

class SitesFrame : public QGroupBox {
    Q_OBJECT
public:
    SitesFrame(SitesAreaContext context, QWidget* parent = nullptr);

    void reloadTree();
    void clearTree();
    void setNimbrase(bool checked);
    // Ctrl+F.
    void focusSearch();
    // The lock: the decrypted names, addresses and logins of the search are wiped.
    void forgetDecrypted();

    SitesTreeWidget* TreeView1() const { return tree_; }
    QMenu* mnuFiles() const { return filesMenu_; }
    QMenu* mnuFolders() const { return foldersMenu_; }
    QCheckBox* chkNimbrase() const { return nimbrase_; }
    QLineEdit* txtSearch() const { return search_; }

    // Menu commands, public so that keys and tests reach them as the menus do.
    void mnuNewFolder_Click();
    void mnuRenameFolder_Click();
    void mnuDeleteFolder_Click();
    void mnuDetails_Click();
    void mnuCopyPassword_Click();
    void mnuCopyLogin_Click();
    void mnuRenameFile_Click();
    void mnuDeleteFile_Click();
    // Moves dragged into target (its folder, when target is a site).
    void dropNode(QTreeWidgetItem* dragged, QTreeWidgetItem* target);
    void TreeView1_DblClick();

signals:
    void blockedSitesRequested();

private:
    QTreeWidgetItem* selectedNode();
    // The selected node as the site commands see it; nothing when none is selected.
    std::optional<SitesTreeNode> selectedTreeNode() const;
    void runSiteCommand(void (SiteCommands::*command)(const SitesTreeNode*));
    void copySiteValue(std::string_view key);
    void mnuVelotrip_Click();
    bool isSite(const QTreeWidgetItem* item) const;
    void repopulate(QTreeWidgetItem* folder);
    bool acceptLabel(QTreeWidgetItem* item, const QString& text);
    void showPopup(QTreeWidgetItem* item, const QPoint& globalPosition);
    void showVelotripMark(QTreeWidgetItem* item);
    void onDeleteKey();
    void cmdAddNewSite_Click();
    void cmdGoToSite_Click();
    void cmd_LaunchAndLogin_Click();
    void mnuLogin_Click();
    void mnuLoginAllSites_Click();
    void chkNimbrase_Click(bool checked);
    // Shows only the matching sites and the folders above them.
    void filterTree();
    bool filterNode(QTreeWidgetItem* item, const std::string& text);
    // Enter in the search box logs into the selected site, or the first one shown.
    void txtSearch_Enter();
    void buildMenus();
    void buildButtons(QLayout* layout);

    SitesAreaContext context_;
    QLineEdit* search_;
    SitesTreeWidget* tree_;
    SiteSearchCache searchCache_;
    QMenu* filesMenu_ = nullptr;
    QMenu* foldersMenu_ = nullptr;
    QAction* velotrip_ = nullptr;
    QList<QAction*> folderCommands_; // hidden on the root
    QCheckBox* nimbrase_ = nullptr;
};

} // namespace kv
