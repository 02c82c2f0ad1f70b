#include "mainwindow/property_grid_widget.h"

#include <QHeaderView>

namespace kv {
namespace {
constexpr int kReadOnlyRole = Qt::UserRole + 1;
}

PropertyGrid::PropertyGrid(QWidget* parent) : QTreeWidget(parent)
{
    setColumnCount(2);
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setAlternatingRowColors(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header()->setStretchLastSection(true);
    connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item, int) {
        if (item->parent() == category_)
            editValue(category_->indexOfChild(item));
    });
}

void PropertyGrid::setCategory(const QString& caption)
{
    category_ = new QTreeWidgetItem(this, {caption});
    QFont bold = category_->font(0);
    bold.setBold(true);
    category_->setFont(0, bold);
    category_->setFirstColumnSpanned(true);
}

void PropertyGrid::addItem(const QString& caption, const QString& value, bool readOnly)
{
    if (!category_)
        setCategory(QString());
    auto* item = new QTreeWidgetItem(category_, {caption, value});
    item->setData(0, kReadOnlyRole, readOnly);
    if (readOnly)
        item->setForeground(1, palette().brush(QPalette::Disabled, QPalette::Text));
    else
        item->setFlags(item->flags() | Qt::ItemIsEditable);
}

void PropertyGrid::expandCategory()
{
    if (category_)
        category_->setExpanded(true);
}

int PropertyGrid::itemCount() const
{
    return category_ ? category_->childCount() : 0;
}

QString PropertyGrid::caption(int index) const
{
    QTreeWidgetItem* item = category_ ? category_->child(index) : nullptr;
    return item ? item->text(0) : QString();
}

QString PropertyGrid::value(int index) const
{
    QTreeWidgetItem* item = category_ ? category_->child(index) : nullptr;
    return item ? item->text(1) : QString();
}

bool PropertyGrid::isReadOnly(int index) const
{
    QTreeWidgetItem* item = category_ ? category_->child(index) : nullptr;
    return !item || item->data(0, kReadOnlyRole).toBool();
}

bool PropertyGrid::editValue(int index)
{
    if (isReadOnly(index))
        return false;
    QTreeWidgetItem* item = category_->child(index);
    setCurrentItem(item, 1);
    editItem(item, 1);
    return true;
}

} // namespace kv
