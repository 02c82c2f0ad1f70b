// A stand-in for the desktop portal's GlobalShortcuts service, for tests on a private bus.
// It speaks the portal's protocol (requests answered by Response signals, sessions closed
// through their own object, Activated signals) and takes orders from the test on a second
// interface: press a shortcut, tell what is bound, count closed sessions.
//
//   fake_global_shortcuts_portal [--refuse TRIGGER]... [--silent]
//     --refuse: leaves shortcuts whose preferred trigger is TRIGGER unbound
//     --silent: owns the portal's name but never answers a call
#include "platform/qt_portal_global_hotkeys.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDateTime>
#include <QStringList>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace {

constexpr const char* kControlPath = "/org/kestrelyn/test/portal";

struct State {
    QStringList refused;
    bool silent = false;
    QString session;
    kv::PortalShortcuts bound;
    int sessionsClosed = 0;
};

QString SenderPart(const QDBusMessage& message)
{
    return message.service().mid(1).replace('.', '_');
}

// A Response on the request object, sent once the call itself has been answered; what the
// request changes takes effect as the Response goes out, as the test may look at any time.
void Respond(const QString& requestPath, const QVariantMap& results, std::function<void()> takeEffect)
{
    QTimer::singleShot(0, [requestPath, results, takeEffect] {
        takeEffect();
        QDBusMessage signal =
            QDBusMessage::createSignal(requestPath, "org.freedesktop.portal.Request", "Response");
        signal << uint(0) << results;
        QDBusConnection::sessionBus().send(signal);
    });
}

class Session : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Session")
public:
    Session(State& state, QString path) : state_(state), path_(std::move(path)) {}

public slots:
    void Close()
    {
        ++state_.sessionsClosed;
        if (state_.session == path_) {
            state_.session.clear();
            state_.bound.clear();
        }
        QDBusConnection::sessionBus().unregisterObject(path_);
        deleteLater();
    }

private:
    State& state_;
    QString path_;
};

class GlobalShortcuts : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.GlobalShortcuts")
public:
    explicit GlobalShortcuts(State& state) : state_(state) {}

public slots:
    QDBusObjectPath CreateSession(const QVariantMap& options)
    {
        if (state_.silent) {
            setDelayedReply(true);
            return {};
        }
        const QString sender = SenderPart(message());
        const QString request = QStringLiteral("%1/request/%2/%3")
                                    .arg(kv::kPortalPath, sender, options.value("handle_token").toString());
        const QString session =
            QStringLiteral("%1/session/%2/%3")
                .arg(kv::kPortalPath, sender, options.value("session_handle_token").toString());
        QDBusConnection::sessionBus().registerObject(session, new Session(state_, session),
                                                     QDBusConnection::ExportAllSlots);
        Respond(request, {{"session_handle", session}}, [this, session] {
            state_.session = session;
            state_.bound.clear();
        });
        return QDBusObjectPath(request);
    }

    // Spelled out: QtDBus finds slots by the type names the meta-object system registered.
    QDBusObjectPath BindShortcuts(const QDBusObjectPath& session, const QList<kv::PortalShortcut>& shortcuts,
                                  const QString&, const QVariantMap& options)
    {
        const QString request =
            QStringLiteral("%1/request/%2/%3")
                .arg(kv::kPortalPath, SenderPart(message()), options.value("handle_token").toString());
        kv::PortalShortcuts taken;
        for (const kv::PortalShortcut& shortcut : shortcuts) {
            const QString trigger = shortcut.properties.value("preferred_trigger").toString();
            if (!state_.refused.contains(trigger))
                taken.append({shortcut.id,
                              {{"description", shortcut.properties.value("description")},
                               {"trigger_description", trigger}}});
        }
        Respond(request, {{"shortcuts", QVariant::fromValue(taken)}}, [this, session, taken] {
            if (session.path() == state_.session)
                state_.bound = taken;
        });
        return QDBusObjectPath(request);
    }

signals:
    void Activated(const QDBusObjectPath& session_handle, const QString& shortcut_id, qulonglong timestamp,
                   const QVariantMap& options);

public:
    void press(const QString& id)
    {
        emit Activated(QDBusObjectPath(state_.session), id,
                       static_cast<qulonglong>(QDateTime::currentMSecsSinceEpoch()), {});
    }

private:
    State& state_;
};

class Control : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kestrelyn.test.Portal")
public:
    Control(State& state, GlobalShortcuts& portal) : state_(state), portal_(portal) {}

public slots:
    void Press(const QString& shortcutId) { portal_.press(shortcutId); }
    // "id=trigger" of every shortcut bound in the open session.
    QStringList Bound()
    {
        QStringList list;
        for (const kv::PortalShortcut& shortcut : state_.bound)
            list << shortcut.id + "=" + shortcut.properties.value("trigger_description").toString();
        return list;
    }
    int SessionsClosed() { return state_.sessionsClosed; }

private:
    State& state_;
    GlobalShortcuts& portal_;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    kv::RegisterPortalShortcutTypes();
    State state;
    const QStringList arguments = application.arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == "--refuse" && i + 1 < arguments.size())
            state.refused << arguments[++i];
        else if (arguments[i] == "--silent")
            state.silent = true;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    GlobalShortcuts portal(state);
    Control control(state, portal);
    if (!bus.registerObject(kv::kPortalPath, &portal,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals) ||
        !bus.registerObject(kControlPath, &control, QDBusConnection::ExportAllSlots) ||
        !bus.registerService(kv::kPortalService)) {
        std::fprintf(stderr, "fake portal: cannot serve on the bus: %s\n",
                     qPrintable(bus.lastError().message()));
        return 1;
    }
    return application.exec();
}

#include "fake_global_shortcuts_portal.moc"
