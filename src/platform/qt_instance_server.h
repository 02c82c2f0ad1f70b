#pragma once
// The running program's end of the single-instance socket on the Qt loop: every later
// start's request is read as it arrives, without holding the loop, answered by the
// handler, and the connection closed. A start that sends nothing for a few seconds is
// dropped.
#include "platform/instance_request.h"
#include "platform/single_instance.h"

#include <QObject>
#include <functional>
#include <map>
#include <memory>

class QSocketNotifier;

namespace kv {

class QtInstanceServer : public QObject {
public:
    using Handler = std::function<InstanceReply(const InstanceRequest&)>;

    QtInstanceServer(RuntimeDirInstanceLock& instance, Handler handler, QObject* parent = nullptr);
    ~QtInstanceServer() override;

private:
    struct Pending;
    void acceptWaiting();
    void readFrom(int fd);
    void drop(int fd);

    RuntimeDirInstanceLock& instance_;
    Handler handler_;
    QSocketNotifier* listener_ = nullptr;
    std::map<int, std::unique_ptr<Pending>> pending_;
};

} // namespace kv
