#include "browser/chromium/qt_chromium_pump.h"

#include <algorithm>
#include <chrono>

namespace kv {

QtChromiumPump::QtChromiumPump(std::shared_ptr<ChromiumSession> session, QObject* parent)
    : QObject(parent), session_(std::move(session))
{
    backgroundWork_.setSingleShot(true);
    connect(&backgroundWork_, &QTimer::timeout, this, [this] { session_->runBackgroundWork(); });
    session_->setNotifiers([this](int fd) { watch(fd); }, [this] { scheduleDispatch(); });
    session_->setBackgroundWorkNotifier([this](std::chrono::steady_clock::time_point due) {
        const auto wait =
            std::chrono::ceil<std::chrono::milliseconds>(due - std::chrono::steady_clock::now());
        backgroundWork_.start(std::max(wait, std::chrono::milliseconds(0)));
    });
    watch(session_->readFd());
}

QtChromiumPump::~QtChromiumPump()
{
    session_->setNotifiers({}, {});
    session_->setBackgroundWorkNotifier({});
}

void QtChromiumPump::watch(int fd)
{
    if (notifier_) {
        // This may run inside the old notifier's own signal: let the loop delete it.
        notifier_->setEnabled(false);
        notifier_->deleteLater();
        notifier_ = nullptr;
    }
    if (fd < 0)
        return;
    notifier_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        session_->processIncoming();
        session_->dispatchPending();
    });
}

void QtChromiumPump::scheduleDispatch()
{
    if (dispatchScheduled_)
        return;
    dispatchScheduled_ = true;
    QTimer::singleShot(0, this, [this] {
        dispatchScheduled_ = false;
        session_->dispatchPending();
    });
}

} // namespace kv
