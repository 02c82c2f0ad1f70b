#pragma once
// A grid of captioned values under one category; read-only items cannot be edited.
#include <QTreeWidget>

namespace kv {

class PropertyGrid : public QTreeWidget {
    Q_OBJECT
public:
    explicit PropertyGrid(QWidget* parent = nullptr);

    void setCategory(const QString& caption);
    void addItem(const QString& caption, const QString& value, bool readOnly);
    void expandCategory();

    int itemCount() const;
    QString caption(int index) const;
    QString value(int index) const;
    bool isReadOnly(int index) const;
    // Opens the value editor of an item; refused for read-only items.
    bool editValue(int index);
    QTreeWidgetItem* category() const { return category_; }

private:
    QTreeWidgetItem* category_ = nullptr;
};

} // namespace kv
