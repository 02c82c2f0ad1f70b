#include "platform/qt_ui_thread.h"

namespace kv {

void QtUiThread::post(std::function<void()> task)
{
    QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
}

} // namespace kv
