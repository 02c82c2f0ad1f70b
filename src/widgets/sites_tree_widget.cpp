#include "widgets/sites_tree_widget.h"

#include "sites/site_tree_texts.h"
#include "widgets/qt_icons.h"

#include <QDrag>
#include <QDragMoveEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>

namespace kv {
namespace {

constexpr int kKeyRole = Qt::UserRole + 1;
constexpr int kImageRole = Qt::UserRole + 2;
constexpr int kProblemRole = Qt::UserRole + 3;
constexpr auto kDragFormat = "application/x-kestrelyn-vormaplex-node";
// The pointer scrolls the tree within about 100 twips of its top and 200 twips of its bottom.
constexpr int kScrollUpZone = 7;
constexpr int kScrollDownZone = 14;

// Hands a finished edit to the tree's acceptLabel before the text is taken.
class LabelDelegate : public QStyledItemDelegate {
public:
    explicit LabelDelegate(SitesTreeWidget* tree) : QStyledItemDelegate(tree), tree_(tree) {}

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        auto* line = qobject_cast<QLineEdit*>(editor);
        QTreeWidgetItem* item = tree_->itemFromIndex(index);
        if (!line || !item || line->text() == item->text(0))
            return;
        if (!tree_->acceptLabel || tree_->acceptLabel(item, line->text()))
            model->setData(index, line->text(), Qt::EditRole);
    }

private:
    SitesTreeWidget* tree_;
};

} // namespace

SitesTreeWidget::SitesTreeWidget(QWidget* parent)
    : QTreeWidget(parent), folderIcon_(LoadIcon({}, "folder")), siteIcon_(LoadIcon({}, "site"))
{
    setObjectName("TreeView1");
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setItemDelegate(new LabelDelegate(this));
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setUniformRowHeights(true);
}

std::string SitesTreeWidget::key(const QTreeWidgetItem* item)
{
    return item ? item->data(0, kKeyRole).toString().toStdString() : std::string();
}

void SitesTreeWidget::setKey(QTreeWidgetItem* item, const std::string& key)
{
    item->setData(0, kKeyRole, QString::fromStdString(key));
}

int SitesTreeWidget::selectedImage(const QTreeWidgetItem* item)
{
    return item ? item->data(0, kImageRole).toInt() : 0;
}

QTreeWidgetItem* SitesTreeWidget::makeNode(const std::string& key, const std::string& text, int image,
                                           bool isRoot) const
{
    auto* item = new QTreeWidgetItem;
    item->setText(0, QString::fromStdString(text));
    item->setIcon(0, image == kSiteImage ? siteIcon_ : folderIcon_);
    item->setData(0, kImageRole, image);
    setKey(item, key);
    // The root drags like any folder, so that dropping it is refused in words rather than
    // by a drag that silently never starts.
    Qt::ItemFlags flags =
        Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDropEnabled | Qt::ItemIsDragEnabled;
    if (!isRoot)
        flags |= Qt::ItemIsEditable;
    item->setFlags(flags);
    return item;
}

QTreeWidgetItem* SitesTreeWidget::addNode(QTreeWidgetItem* parent, const std::string& key,
                                          const std::string& text, int image)
{
    QTreeWidgetItem* item = makeNode(key, text, image, parent == nullptr);
    if (parent)
        parent->addChild(item);
    else
        addTopLevelItem(item);
    return item;
}

void SitesTreeWidget::showProblem(QTreeWidgetItem* item, SiteProblem problem) const
{
    if (problem == SiteProblem::None)
        return;
    item->setData(0, kProblemRole, static_cast<int>(problem));
    item->setIcon(0, style()->standardIcon(QStyle::SP_MessageBoxWarning));
    item->setForeground(0, palette().brush(QPalette::Disabled, QPalette::Text));
    item->setToolTip(
        0, QString::fromUtf8(kLinkedSiteNote.data(), static_cast<qsizetype>(kLinkedSiteNote.size())));
}

SiteProblem SitesTreeWidget::problem(const QTreeWidgetItem* item)
{
    return item ? static_cast<SiteProblem>(item->data(0, kProblemRole).toInt()) : SiteProblem::None;
}

// Items are linked while detached from the view and handed over in one piece: a tree of
// thousands of sites would otherwise report every single insertion.
void SitesTreeWidget::showModel(const SitesTreeModel& model)
{
    clear();
    const std::vector<SitesTreeNode>& nodes = model.nodes();
    std::vector<QTreeWidgetItem*> items(nodes.size(), nullptr);
    QList<QTreeWidgetItem*> topLevel;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const SitesTreeNode& node = nodes[i];
        items[i] = makeNode(node.key, node.text, node.selectedImage, !node.parent);
        showProblem(items[i], node.problem);
        if (!node.parent)
            topLevel.append(items[i]);
    }
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        QList<QTreeWidgetItem*> children;
        children.reserve(static_cast<qsizetype>(nodes[i].children.size()));
        for (std::size_t child : nodes[i].children)
            children.append(items[child]);
        items[i]->addChildren(children);
    }
    addTopLevelItems(topLevel);
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        if (nodes[i].expanded)
            items[i]->setExpanded(true);
    }
}

void SitesTreeWidget::addModelChildren(QTreeWidgetItem* item, const SitesTreeModel& model, std::size_t index)
{
    for (std::size_t child : model.nodes()[index].children) {
        const SitesTreeNode& node = model.nodes()[child];
        QTreeWidgetItem* added = addNode(item, node.key, node.text, node.selectedImage);
        showProblem(added, node.problem);
        addModelChildren(added, model, child);
    }
}

void SitesTreeWidget::showChildren(QTreeWidgetItem* item, const SitesTreeModel& model)
{
    qDeleteAll(item->takeChildren());
    const SitesTreeNode* node = model.find(key(item));
    if (node)
        addModelChildren(item, model, static_cast<std::size_t>(node - model.nodes().data()));
}

QTreeWidgetItem* SitesTreeWidget::findKey(const std::string& wanted) const
{
    for (QTreeWidgetItemIterator it(const_cast<SitesTreeWidget*>(this)); *it; ++it) {
        if (key(*it) == wanted)
            return *it;
    }
    return nullptr;
}

void SitesTreeWidget::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Menu) {
        emit contextMenuKeyPressed();
        return;
    }
    if (event->key() == Qt::Key_Delete) {
        emit deletePressed();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void SitesTreeWidget::mousePressEvent(QMouseEvent* event)
{
    if (QTreeWidgetItem* item = itemAt(event->position().toPoint()))
        setCurrentItem(item);
    QTreeWidget::mousePressEvent(event);
}

void SitesTreeWidget::mouseReleaseEvent(QMouseEvent* event)
{
    QTreeWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::RightButton)
        return;
    if (QTreeWidgetItem* item = itemAt(event->position().toPoint())) {
        setCurrentItem(item);
        emit rightReleased(item);
    }
}

void SitesTreeWidget::startDrag(Qt::DropActions)
{
    QTreeWidgetItem* item = currentItem();
    if (!item)
        return;
    auto* mime = new QMimeData;
    mime->setData(kDragFormat, QByteArray::fromStdString(key(item)));
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    drag->setPixmap(item->icon(0).pixmap(16, 16));
    dragInProgress_ = true;
    drag->exec(Qt::MoveAction);
    dragInProgress_ = false;
}

void SitesTreeWidget::dragEnterEvent(QDragEnterEvent* event)
{
    if (dragInProgress_ && event->mimeData()->hasFormat(kDragFormat))
        event->acceptProposedAction();
    else
        event->ignore();
}

void SitesTreeWidget::dragMoveEvent(QDragMoveEvent* event)
{
    QPoint at = event->position().toPoint();
    QTreeWidgetItem* target = itemAt(at);
    if (!target || !dragInProgress_) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    setCurrentItem(target, 0, QItemSelectionModel::NoUpdate);
    QScrollBar* bar = verticalScrollBar();
    if (at.y() < kScrollUpZone)
        bar->setValue(bar->value() - 1);
    else if (at.y() > viewport()->height() - kScrollDownZone)
        bar->setValue(bar->value() + 1);
}

void SitesTreeWidget::dropEvent(QDropEvent* event)
{
    QTreeWidgetItem* target = itemAt(event->position().toPoint());
    QTreeWidgetItem* dragged = findKey(event->mimeData()->data(kDragFormat).toStdString());
    // The tree itself never moves the item; the Sites area moves it on disk first.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    if (target && dragged)
        emit dropped(dragged, target);
    dragInProgress_ = false;
}

} // namespace kv
