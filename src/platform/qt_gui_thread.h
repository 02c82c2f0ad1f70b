#pragma once
// GuiThread on the Qt event loop: a task posted from any thread runs as a queued call on
// the thread that created this object.
#include "platform/gui_thread.h"

#include <QObject>

namespace kv {

class QtGuiThread : public QObject, public GuiThread {
public:
    explicit QtGuiThread(QObject* parent = nullptr) : QObject(parent) {}
    void post(std::function<void()> task) override;
};

} // namespace kv
