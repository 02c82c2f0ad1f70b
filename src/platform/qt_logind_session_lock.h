#pragma once
// The desktop session's own lock, as systemd-logind announces it: the Lock signal of this
// process's session (org.freedesktop.login1.Session) on the system bus. The session is
// looked up without blocking the loop; without logind nothing is ever reported.
#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <functional>

class QDBusMessage;

namespace kv {

class LogindSessionLock : public QObject {
    Q_OBJECT
public:
    // bus: where logind is, the system bus outside tests.
    explicit LogindSessionLock(QDBusConnection bus = QDBusConnection::systemBus(), QObject* parent = nullptr);

    // The session's object path once it is known; empty before and without logind.
    const QString& sessionPath() const { return sessionPath_; }

signals:
    // The session is known and followed.
    void watching();
    void sessionLocked();

private slots:
    void onLock();

private:
    void findSession(const QDBusMessage& call, std::function<void()> otherwise);
    void follow(const QString& path);

    QDBusConnection bus_;
    QString sessionPath_;
};

} // namespace kv
