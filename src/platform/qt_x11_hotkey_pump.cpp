#include "platform/qt_x11_hotkey_pump.h"

#include <QAbstractEventDispatcher>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

namespace kv {

QtX11HotkeyPump::QtX11HotkeyPump(X11GlobalHotkeys& hotkeys, QObject* parent)
    : QObject(parent), hotkeys_(hotkeys),
      notifier_(new QSocketNotifier(hotkeys.connectionFd(), QSocketNotifier::Read, this))
{
    connect(notifier_, &QSocketNotifier::activated, this, [this] { hotkeys_.processEvents(); });
    // A grab checks itself with the server and may read a key press meanwhile; the socket is
    // then empty and only the queue knows.
    connect(QThread::currentThread()->eventDispatcher(), &QAbstractEventDispatcher::aboutToBlock, this,
            [this] {
                if (!scheduled_ && hotkeys_.hasQueuedEvents()) {
                    scheduled_ = true;
                    QTimer::singleShot(0, this, &QtX11HotkeyPump::deliverQueued);
                }
            });
}

void QtX11HotkeyPump::deliverQueued()
{
    scheduled_ = false;
    hotkeys_.processEvents();
}

} // namespace kv
