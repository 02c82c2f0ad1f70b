#include "widgets/qt_wait_until.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

namespace kv {

bool QtWaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
    const QDeadlineTimer deadline(limit);
    QEventLoop loop;
    // A short tick so that a condition met without any event of its own is noticed.
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        if (done() || deadline.hasExpired())
            loop.quit();
    });
    tick.start(10);
    if (!done())
        loop.exec();
    return done();
}

} // namespace kv
