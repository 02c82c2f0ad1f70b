#include "mainwindow/credits_widget.h"

#include <QFontMetrics>
#include <QPainter>

namespace kv {
namespace {

QFont CreditFont(const QFont& base, const CreditLine& look)
{
    QFont font = base;
    font.setBold(look.Bold);
    font.setItalic(look.Italic);
    font.setPointSize(look.FontSize > 0 ? look.FontSize : 1);
    return font;
}

} // namespace

CreditsWidget::CreditsWidget(QWidget* parent) : QWidget(parent)
{
    setObjectName("picBuffer");
    setAttribute(Qt::WA_OpaquePaintEvent);
    timer_.setInterval(kCreditsFrameMs);
    connect(&timer_, &QTimer::timeout, this, &CreditsWidget::ReDrawTimer_Timer);
}

void CreditsWidget::StartCredits()
{
    scroller_.start(height());
    timer_.start(kCreditsFrameMs);
}

void CreditsWidget::stop()
{
    timer_.stop();
}

void CreditsWidget::ReDrawTimer_Timer()
{
    const QSize area = size();
    if (buffer_.size() != area * devicePixelRatioF()) {
        buffer_ = QPixmap(area * devicePixelRatioF());
        buffer_.setDevicePixelRatio(devicePixelRatioF());
    }
    buffer_.fill(Qt::white);
    QPainter painter(&buffer_);
    const QFont base = font();
    CreditsFrame frame = scroller_.nextFrame(
        area.width(), area.height(), [&base](const std::string& text, const CreditLine& look) {
            QFontMetrics metrics(CreditFont(base, look));
            return TextExtent{metrics.horizontalAdvance(QString::fromStdString(text)), metrics.height()};
        });
    painter.setPen(QColor(0, 0, 255));
    for (const PlacedCreditLine& line : frame.lines) {
        const QFont lineFont = CreditFont(base, *line.look);
        painter.setFont(lineFont);
        // Positions are of the text's top edge, as the scroller measures them.
        painter.drawText(line.left, line.top + QFontMetrics(lineFont).ascent(),
                         QString::fromStdString(*line.text));
    }
    painter.end();
    timer_.setInterval(frame.nextIntervalMs);
    update();
}

void CreditsWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (buffer_.isNull())
        painter.fillRect(rect(), Qt::white);
    else
        painter.drawPixmap(0, 0, buffer_);
}

} // namespace kv
