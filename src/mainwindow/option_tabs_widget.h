#pragma once
// A tab control that reports each click with the tab shown before it.
#include <QTabWidget>

namespace kv {

class OptionTabs : public QTabWidget {
    Q_OBJECT
public:
    explicit OptionTabs(QWidget* parent = nullptr);

signals:
    void tabClicked(int previousTab);

private:
    int shown_ = -1;
};

} // namespace kv
