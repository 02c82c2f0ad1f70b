#include "platform/qt_instance_server.h"

#include <QSocketNotifier>
#include <QTimer>

namespace kv {

namespace {
constexpr int kRequestLimitMs = 5000;
}

// The notifier and the timer may be the very senders whose signal is being handled, so
// they go with deleteLater.
struct QtInstanceServer::Pending {
    std::unique_ptr<InstanceConnection> connection;
    QSocketNotifier* notifier = nullptr;
    QTimer* limit = nullptr;

    ~Pending()
    {
        notifier->setEnabled(false);
        notifier->deleteLater();
        limit->stop();
        limit->deleteLater();
    }
};

QtInstanceServer::QtInstanceServer(RuntimeDirInstanceLock& instance, Handler handler, QObject* parent)
    : QObject(parent), instance_(instance), handler_(std::move(handler))
{
    if (instance_.requestSocket() < 0)
        return;
    listener_ = new QSocketNotifier(instance_.requestSocket(), QSocketNotifier::Read, this);
    connect(listener_, &QSocketNotifier::activated, this, &QtInstanceServer::acceptWaiting);
}

QtInstanceServer::~QtInstanceServer() = default;

void QtInstanceServer::acceptWaiting()
{
    for (int fd = instance_.acceptConnection(); fd >= 0; fd = instance_.acceptConnection()) {
        auto pending = std::make_unique<Pending>();
        pending->connection = std::make_unique<InstanceConnection>(fd);
        pending->notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(pending->notifier, &QSocketNotifier::activated, this, [this, fd] { readFrom(fd); });
        pending->limit = new QTimer(this);
        pending->limit->setSingleShot(true);
        connect(pending->limit, &QTimer::timeout, this, [this, fd] { drop(fd); });
        pending->limit->start(kRequestLimitMs);
        pending_[fd] = std::move(pending);
    }
}

void QtInstanceServer::readFrom(int fd)
{
    const auto found = pending_.find(fd);
    if (found == pending_.end())
        return;
    InstanceConnection& connection = *found->second->connection;
    switch (connection.readAvailable()) {
    case InstanceConnection::State::Reading:
        return;
    case InstanceConnection::State::Failed:
        drop(fd);
        return;
    case InstanceConnection::State::Complete:
        break;
    }
    // The handler may open dialogs with loops of their own: this connection is done first.
    std::unique_ptr<Pending> done = std::move(found->second);
    pending_.erase(found);
    done->notifier->setEnabled(false);
    done->limit->stop();
    const auto request = DecodeInstanceRequest(done->connection->request());
    const InstanceReply reply = request ? handler_(*request) : InstanceReply{false, request.error()};
    done->connection->reply(EncodeInstanceReply(reply));
}

void QtInstanceServer::drop(int fd)
{
    pending_.erase(fd);
}

} // namespace kv
