#include "mainwindow/capture_log_widget.h"

namespace kv {
namespace {
constexpr int kVisibleLines = 3;
}

CaptureLogWidget::CaptureLogWidget(CaptureLog& log, QWidget* parent) : QListWidget(parent), log_(log)
{
    setObjectName("List4");
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::NoFocus);
    setUniformItemSizes(true);
    setFixedHeight(kVisibleLines * fontMetrics().height() + 2 * frameWidth() + 4);
    for (const std::string& line : log_.lines())
        addLine(line);
    log_.onAdded([this](const std::string& line) { addLine(line); });
}

CaptureLogWidget::~CaptureLogWidget()
{
    log_.onAdded({});
}

void CaptureLogWidget::addLine(const std::string& line)
{
    addItem(QString::fromStdString(line));
    scrollToBottom();
}

} // namespace kv
