// A stand-in for systemd-logind on a private bus, speaking its real interface as far as the
// program uses it: Manager.GetSessionByPID and GetSession answer the session "c1", and
// Session.Lock on a session emits that session's Lock signal, as `loginctl lock-session`
// makes logind do. A second session, "c2", belongs to somebody else. Writes "ready" to
// the file given as its argument once it owns its name.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QFile>

namespace {

const QString kSessionPath = "/org/freedesktop/login1/session/c1";

class Manager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
public slots:
    QDBusObjectPath GetSessionByPID(uint) { return QDBusObjectPath(kSessionPath); }
    QDBusObjectPath GetSession(const QString&) { return QDBusObjectPath(kSessionPath); }
};

class Session : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Session")
public:
    explicit Session(QString path) : path_(std::move(path)) {}
public slots:
    void Lock()
    {
        QDBusMessage signal = QDBusMessage::createSignal(path_, "org.freedesktop.login1.Session", "Lock");
        QDBusConnection::systemBus().send(signal);
    }

private:
    QString path_;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QDBusConnection bus = QDBusConnection::systemBus();
    Manager manager;
    Session mine(kSessionPath);
    Session other("/org/freedesktop/login1/session/c2");
    const auto exported = QDBusConnection::ExportAllSlots;
    if (!bus.registerObject("/org/freedesktop/login1", &manager, exported) ||
        !bus.registerObject(kSessionPath, &mine, exported) ||
        !bus.registerObject("/org/freedesktop/login1/session/c2", &other, exported) ||
        !bus.registerService("org.freedesktop.login1"))
        return 1;
    if (argc > 1) {
        QFile ready(argv[1]);
        if (ready.open(QIODevice::WriteOnly))
            ready.write("ready\n");
    }
    return application.exec();
}

#include "fake_logind.moc"
