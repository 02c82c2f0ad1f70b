#pragma once
// picBuffer and ReDrawTimer: the credits drawn off-screen every 30 ms and copied to the
// screen in one piece, pausing for a second when a marked line reaches the middle.
#include "mainwindow/credits_scroller.h"

#include <QPixmap>
#include <QTimer>
#include <QWidget>

namespace kv {

class CreditsWidget : public QWidget {
    Q_OBJECT
public:
    explicit CreditsWidget(QWidget* parent = nullptr);

    void StartCredits();
    void stop();
    bool running() const { return timer_.isActive(); }
    QTimer& ReDrawTimer() { return timer_; }
    const QPixmap& buffer() const { return buffer_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ReDrawTimer_Timer();

    CreditsScroller scroller_;
    QTimer timer_;
    QPixmap buffer_;
};

} // namespace kv
