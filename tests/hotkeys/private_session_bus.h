#pragma once
// A D-Bus session bus of the test's own (dbus-daemon on a socket in a temporary folder), and
// the stand-in desktop portal served on it. Both end with the object that started them.
#include "gui/private_dbus_daemon.h"
#include "platform/qt_portal_global_hotkeys.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QEventLoop>
#include <QTimer>

#include <memory>

namespace kv::test {

// Runs the Qt event loop until done() holds or the limit passes; returns done().
inline bool RunQtUntil(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

class PrivateSessionBus {
public:
    PrivateSessionBus()
    {
        if (!daemon_.address().empty())
            connection_ = std::make_unique<QDBusConnection>(
                QDBusConnection::connectToBus(QString::fromStdString(daemon_.address()), name_));
    }
    ~PrivateSessionBus()
    {
        connection_.reset();
        QDBusConnection::disconnectFromBus(name_);
    }
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    bool ready() const { return connection_ && connection_->isConnected(); }
    const std::string& address() const { return daemon_.address(); }
    QDBusConnection& connection() { return *connection_; }

private:
    PrivateDbusDaemon daemon_;
    QString name_ = "kv-test-bus";
    std::unique_ptr<QDBusConnection> connection_;
};

// The stand-in portal process on a bus, with its test orders.
class FakePortal {
public:
    FakePortal(PrivateSessionBus& bus, std::vector<std::string> arguments) : bus_(bus)
    {
        arguments.insert(
            arguments.begin(),
            (std::filesystem::path(KV_BINARY_DIR) / "tests" / "fake_global_shortcuts_portal").string());
        process_ = std::make_unique<ChildProcess>(
            arguments, std::map<std::string, std::string>{{"DBUS_SESSION_BUS_ADDRESS", bus.address()}});
        serving_ =
            WaitFor(
                [&] {
                    return bus_.connection().interface()->isServiceRegistered(kPortalService).value() ||
                           !process_->running();
                },
                std::chrono::seconds(10)) &&
            process_->running();
    }

    bool serving() const { return serving_; }
    void press(const QString& shortcutId) { call("Press", {shortcutId}); }
    QStringList bound() { return call("Bound").arguments().value(0).toStringList(); }
    int sessionsClosed() { return call("SessionsClosed").arguments().value(0).toInt(); }

private:
    QDBusMessage call(const QString& method, const QVariantList& arguments = {})
    {
        QDBusMessage message = QDBusMessage::createMethodCall(kPortalService, "/org/kestrelyn/test/portal",
                                                              "org.kestrelyn.test.Portal", method);
        message.setArguments(arguments);
        return bus_.connection().call(message, QDBus::Block, 5000);
    }

    PrivateSessionBus& bus_;
    std::unique_ptr<ChildProcess> process_;
    bool serving_ = false;
};

} // namespace kv::test
