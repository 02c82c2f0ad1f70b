#pragma once
// A D-Bus session bus of the test's own (dbus-daemon on a socket in a temporary folder), and
// the stand-in desktop portal served on it. Both end with the object that started them.
#include "common/temp_dir.h"
#include "gui/x_session.h"
#include "platform/qt_portal_global_hotkeys.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QEventLoop>
#include <QTimer>

#include <fstream>
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
        const auto config = folder_ / "bus.conf";
        std::ofstream(config)
            << "<busconfig><type>session</type><listen>unix:dir=" << folder_.path().string()
            << "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
            << "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
            << "<allow own=\"*\"/></policy></busconfig>\n";
        daemon_ = std::make_unique<ChildProcess>(std::vector<std::string>{"dbus-daemon",
                                                                          "--config-file=" + config.string(),
                                                                          "--nofork", "--print-address=1"},
                                                 std::map<std::string, std::string>{}, folder_ / "address");
        WaitFor(
            [&] {
                std::ifstream told(folder_ / "address");
                std::getline(told, address_);
                return !address_.empty() || !daemon_->running();
            },
            std::chrono::seconds(10));
        if (!address_.empty())
            connection_ = std::make_unique<QDBusConnection>(
                QDBusConnection::connectToBus(QString::fromStdString(address_), name_));
    }
    ~PrivateSessionBus()
    {
        connection_.reset();
        QDBusConnection::disconnectFromBus(name_);
        daemon_.reset();
    }
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    bool ready() const { return connection_ && connection_->isConnected(); }
    const std::string& address() const { return address_; }
    QDBusConnection& connection() { return *connection_; }

private:
    TempDir folder_;
    std::string address_;
    QString name_ = "kv-test-bus";
    std::unique_ptr<ChildProcess> daemon_;
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
