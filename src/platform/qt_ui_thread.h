#pragma once
// UiThread on the Qt event loop: a task posted from any thread runs as a queued call on
// the thread that created this object.
#include "platform/ui_thread.h"

#include <QObject>

namespace kv {

class QtUiThread : public QObject, public UiThread {
public:
    explicit QtUiThread(QObject* parent = nullptr) : QObject(parent) {}
    void post(std::function<void()> task) override;
};

} // namespace kv
