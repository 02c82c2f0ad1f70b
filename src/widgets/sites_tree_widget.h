#pragma once
// TreeView1: the site tree as the sites-tree model describes it. Nodes carry their key and
// selected image; label edits, drops, and the Delete and context-menu keys are reported
// to the Sites area, which decides.
#include "storage/sites_tree_model.h"

#include <QTreeWidget>
#include <functional>

namespace kv {

class SitesTreeWidget : public QTreeWidget {
    Q_OBJECT
public:
    explicit SitesTreeWidget(QWidget* parent = nullptr);

    // Rebuilds every node from the model.
    void showModel(const SitesTreeModel& model);
    // Replaces the children of item with the nodes below the model node keyed like item.
    void showChildren(QTreeWidgetItem* item, const SitesTreeModel& model);
    QTreeWidgetItem* addNode(QTreeWidgetItem* parent, const std::string& key, const std::string& text,
                             int image);

    static std::string key(const QTreeWidgetItem* item);
    static void setKey(QTreeWidgetItem* item, const std::string& key);
    static int selectedImage(const QTreeWidgetItem* item);
    static bool isRoot(const QTreeWidgetItem* item) { return item && !item->parent(); }
    // What is wrong with a site shown as damaged (greyed, with a warning and its reason).
    static SiteProblem problem(const QTreeWidgetItem* item);
    QTreeWidgetItem* findKey(const std::string& key) const;

    // Decides whether an edited label is taken; a refused edit leaves the label as it was.
    std::function<bool(QTreeWidgetItem* item, const QString& text)> acceptLabel;
    bool dragInProgress() const { return dragInProgress_; }

signals:
    void deletePressed();
    void contextMenuKeyPressed();
    void rightReleased(QTreeWidgetItem* item);
    void dropped(QTreeWidgetItem* dragged, QTreeWidgetItem* target);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QTreeWidgetItem* makeNode(const std::string& key, const std::string& text, int image, bool isRoot) const;
    void addModelChildren(QTreeWidgetItem* item, const SitesTreeModel& model, std::size_t index);
    void showProblem(QTreeWidgetItem* item, SiteProblem problem) const;

    QIcon folderIcon_;
    QIcon siteIcon_;
    bool dragInProgress_ = false;
};

} // namespace kv
