#include "mainwindow/option_tabs_widget.h"

namespace kv {

OptionTabs::OptionTabs(QWidget* parent) : QTabWidget(parent)
{
    connect(this, &QTabWidget::currentChanged, this, [this](int index) {
        int previous = shown_;
        shown_ = index;
        emit tabClicked(previous);
    });
}

} // namespace kv
