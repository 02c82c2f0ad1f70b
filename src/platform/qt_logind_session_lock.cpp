#include "platform/qt_logind_session_lock.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include <unistd.h>

namespace kv {
namespace {

const QString kService = "org.freedesktop.login1";
const QString kManagerPath = "/org/freedesktop/login1";
const QString kManager = "org.freedesktop.login1.Manager";
const QString kSession = "org.freedesktop.login1.Session";

} // namespace

LogindSessionLock::LogindSessionLock(QDBusConnection bus, QObject* parent)
    : QObject(parent), bus_(std::move(bus))
{
    QDBusMessage byProcess =
        QDBusMessage::createMethodCall(kService, kManagerPath, kManager, "GetSessionByPID");
    byProcess << static_cast<quint32>(::getpid());
    // A program started outside the session (a user service) still knows the session's id.
    const QString sessionId = qEnvironmentVariable("XDG_SESSION_ID");
    findSession(byProcess, [this, sessionId] {
        if (sessionId.isEmpty())
            return;
        QDBusMessage byId = QDBusMessage::createMethodCall(kService, kManagerPath, kManager, "GetSession");
        byId << sessionId;
        findSession(byId, [] {});
    });
}

void LogindSessionLock::findSession(const QDBusMessage& call, std::function<void()> otherwise)
{
    if (!bus_.isConnected())
        return;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, otherwise = std::move(otherwise)](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                const QDBusPendingReply<QDBusObjectPath> reply = *finished;
                if (reply.isError())
                    otherwise();
                else
                    follow(reply.value().path());
            });
}

void LogindSessionLock::follow(const QString& path)
{
    if (path.isEmpty())
        return;
    // Only this session's signal: locking another user's session must not lock us.
    if (bus_.connect(kService, path, kSession, "Lock", this, SLOT(onLock()))) {
        sessionPath_ = path;
        emit watching();
    }
}

void LogindSessionLock::onLock()
{
    emit sessionLocked();
}

} // namespace kv
