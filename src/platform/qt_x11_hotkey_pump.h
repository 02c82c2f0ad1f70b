#pragma once
// Runs the X server's hotkeys on the Qt event loop: a socket notifier reads the connection,
// and events that a request left in the queue are delivered before the loop sleeps again.
#include "platform/x11_global_hotkeys.h"

#include <QObject>

class QSocketNotifier;

namespace kv {

class QtX11HotkeyPump : public QObject {
public:
    explicit QtX11HotkeyPump(X11GlobalHotkeys& hotkeys, QObject* parent = nullptr);

private:
    void deliverQueued();

    X11GlobalHotkeys& hotkeys_;
    QSocketNotifier* notifier_;
    bool scheduled_ = false;
};

} // namespace kv
