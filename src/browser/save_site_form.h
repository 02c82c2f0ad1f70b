#pragma once
// frmYes, "Save Login": shows the save-site rules' proposal and folder tree and forwards
// every action to them; the folder and name it hands back live in the rules object.
#include "browser/save_site_dialog.h"
#include "storage/sites_tree_model.h"

#include <QDialog>

class QLineEdit;
class QMenu;
class QPushButton;
class QTreeWidgetItem;

namespace kv {

class SitesTreeWidget;

class frmYes : public QDialog {
    Q_OBJECT
public:
    explicit frmYes(SaveSiteDialog& logic, QWidget* parent = nullptr);

    QLineEdit* txtFriendlyName() const { return txtFriendlyName_; }
    SitesTreeWidget* TreeView1() const { return tree_; }
    QPushButton* cmdSave() const { return cmdSave_; }
    QPushButton* cmdCancel() const { return cmdCancel_; }
    QMenu* mnuFolders() const { return mnuFolders_; }

    // Selects the node with this key, as a click would.
    bool selectKey(const std::string& key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void loadTree();
    const SitesTreeNode* selectedNode() const;
    void cmdSave_Click();
    void TreeView1_RightReleased(QTreeWidgetItem* item);
    void mnuNewFolder_Click();
    void mnuRenameFolder_Click();
    void mnuDeleteFolder_Click();

    SaveSiteDialog& logic_;
    SitesTreeModel model_;
    QLineEdit* txtFriendlyName_;
    SitesTreeWidget* tree_;
    QPushButton* cmdSave_;
    QPushButton* cmdCancel_;
    QMenu* mnuFolders_;
    QAction* mnuNewFolder_;
    QAction* mnuRenameFolder_;
    QAction* mnuDeleteFolder_;
};

} // namespace kv
