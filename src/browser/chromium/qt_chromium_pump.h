#pragma once
// Runs the program's Chromium on the Qt event loop: a socket notifier reads the pipe, and
// events are dispatched one at a time from the loop, so a modal dialog opened by a handler
// never holds the browser (its nested loop still reads and continues requests) and no event
// is delivered inside another handler. A timer runs the session's background work when due.
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <memory>

#include "browser/chromium/chromium_session.h"

namespace kv {

class QtChromiumPump : public QObject {
public:
    explicit QtChromiumPump(std::shared_ptr<ChromiumSession> session, QObject* parent = nullptr);
    ~QtChromiumPump() override;

private:
    void watch(int fd);
    void scheduleDispatch();

    std::shared_ptr<ChromiumSession> session_;
    QSocketNotifier* notifier_ = nullptr;
    bool dispatchScheduled_ = false;
    QTimer backgroundWork_;
};

} // namespace kv
