#include "widgets/shortcut_bar_widget.h"

#include <QMouseEvent>

namespace kv {
namespace {
constexpr int kIdRole = Qt::UserRole + 1;
constexpr int kBarWidth = 150;
constexpr int kItemHeight = 44;
} // namespace

ShortcutBar::ShortcutBar(QWidget* parent) : QListWidget(parent)
{
    setObjectName("wndShortcutBar");
    setViewMode(QListView::ListMode);
    setMovement(QListView::Static);
    setIconSize(QSize(32, 32));
    setSpacing(1);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFixedWidth(kBarWidth);
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            emit selectionChanged(idAt(row));
    });
}

void ShortcutBar::addItem(int id, const QString& caption)
{
    auto* item = new QListWidgetItem(caption, this);
    item->setData(kIdRole, id);
    // Only the height is fixed: items take the bar's width, less a scroll bar when it shows.
    item->setSizeHint(QSize(0, kItemHeight));
    item->setToolTip(caption);
}

void ShortcutBar::setItemIcon(int id, const QIcon& icon)
{
    if (QListWidgetItem* item = itemWithId(id))
        item->setIcon(icon);
}

void ShortcutBar::selectPosition(int position)
{
    if (position < 0 || position >= count())
        return;
    if (position == currentRow())
        emit selectionChanged(idAt(position));
    else
        setCurrentRow(position);
}

std::optional<int> ShortcutBar::selectedPosition() const
{
    int row = currentRow();
    if (row < 0)
        return std::nullopt;
    return row;
}

int ShortcutBar::idAt(int position) const
{
    QListWidgetItem* it = item(position);
    return it ? it->data(kIdRole).toInt() : 0;
}

int ShortcutBar::naturalHeight() const
{
    return count() * (kItemHeight + 2 * spacing()) + 2 * frameWidth() + 2;
}

QListWidgetItem* ShortcutBar::itemWithId(int id) const
{
    for (int row = 0; row < count(); ++row) {
        if (item(row)->data(kIdRole).toInt() == id)
            return item(row);
    }
    return nullptr;
}

void ShortcutBar::mousePressEvent(QMouseEvent* event)
{
    rowAtPress_ = currentRow();
    QListWidget::mousePressEvent(event);
}

void ShortcutBar::mouseReleaseEvent(QMouseEvent* event)
{
    QListWidget::mouseReleaseEvent(event);
    QListWidgetItem* released = itemAt(event->position().toPoint());
    if (released && row(released) == rowAtPress_ && rowAtPress_ == currentRow())
        emit selectionChanged(idAt(rowAtPress_));
    rowAtPress_ = -1;
}

} // namespace kv
