#include "platform/qt_gui_thread.h"

namespace kv {

void QtGuiThread::post(std::function<void()> task)
{
    QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
}

} // namespace kv
