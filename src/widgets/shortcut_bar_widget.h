#pragma once
// The vertical bar of areas: items with ids, captions and icons. A selection from code
// raises the same selectionChanged(id) as a click; choosing the selected item again
// reports it again, so an area can be refreshed.
#include <QListWidget>
#include <optional>

namespace kv {

class ShortcutBar : public QListWidget {
    Q_OBJECT
public:
    explicit ShortcutBar(QWidget* parent = nullptr);

    void addItem(int id, const QString& caption);
    void setItemIcon(int id, const QIcon& icon);
    void selectPosition(int position);
    std::optional<int> selectedPosition() const;
    int idAt(int position) const;
    // The height that shows every item without scrolling.
    int naturalHeight() const;

signals:
    void selectionChanged(int id);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QListWidgetItem* itemWithId(int id) const;
    int rowAtPress_ = -1;
};

} // namespace kv
