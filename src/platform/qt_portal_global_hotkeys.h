#pragma once
// System-wide hotkeys through the freedesktop desktop portal's GlobalShortcuts interface, for
// a Wayland desktop without an X server: one portal session holding one shortcut per id, each
// with the program's combination as its preferred trigger.
//
// The portal answers later than a registration wants to know: a registration is accepted
// when the key can be named, and the shortcuts are bound once the current round of
// registrations is over. A shortcut the portal does not bind, or every shortcut when the
// portal does not answer in time (or is not there), is then reported as refused.
#include "platform/global_hotkeys.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariantMap>

#include <chrono>
#include <deque>
#include <map>

class QDBusMessage;
class QDBusObjectPath;
class QDBusPendingCallWatcher;

namespace kv {

// One shortcut as BindShortcuts takes it and its answer lists it: (id, properties).
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};
using PortalShortcuts = QList<PortalShortcut>;

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut);
const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut);
// Makes the shortcut types known to QtDBus; safe to call more than once.
void RegisterPortalShortcutTypes();

inline constexpr const char* kPortalService = "org.freedesktop.portal.Desktop";
inline constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";
inline constexpr const char* kGlobalShortcutsInterface = "org.freedesktop.portal.GlobalShortcuts";
inline constexpr std::chrono::milliseconds kPortalAnswerLimit{2000};

// The trigger as the freedesktop shortcut format spells it, e.g. "CTRL+F3"; empty when the
// key has no name there.
QString PortalTrigger(unsigned modifiers, unsigned virtualKey);
// The shortcut id of a hotkey id, and back (-1 for ids that are not ours).
QString PortalShortcutId(int id);
int HotkeyIdOfPortalShortcut(const QString& shortcutId);

class QtPortalGlobalHotkeys : public QObject, public GlobalHotkeys {
    Q_OBJECT
public:
    // answerLimit: how long the portal may take to answer before it counts as missing (the
    // user choosing triggers in the portal's own dialog is not limited).
    explicit QtPortalGlobalHotkeys(QDBusConnection bus,
                                   std::chrono::milliseconds answerLimit = kPortalAnswerLimit,
                                   QObject* parent = nullptr);
    ~QtPortalGlobalHotkeys() override;

    bool registerHotkey(int id, unsigned modifiers, unsigned virtualKey,
                        std::string_view description) override;
    void unregisterHotkey(int id) override;

private slots:
    void onRequestResponse(uint response, const QVariantMap& results);
    void onActivated(const QDBusObjectPath& sessionHandle, const QString& shortcutId, qulonglong timestamp,
                     const QVariantMap& options);

private:
    enum class Step { Idle, CreatingSession, Binding, Bound };
    struct Shortcut {
        QString trigger;
        QString description;
    };

    void scheduleBinding();
    void startRound();
    void bindShortcuts();
    void boundShortcuts(const QVariantMap& results);
    void portalMissing();
    void refuseAll();
    void refuse(int id);
    void closeSession();
    // Sends a request; its acceptance (the request's handle) comes to requestAccepted.
    void send(const QDBusMessage& call);
    void requestAccepted(QDBusPendingCallWatcher* watcher, unsigned round, const QString& expectedPath);
    // Listens for the Response of the request that the next call with this token makes.
    void expectResponse(const QString& token);
    void listen(const QString& requestPath);
    void stopListening();
    void deliverPresses();

    QDBusConnection bus_;
    std::chrono::milliseconds answerLimit_;
    bool hearsActivations_ = false;
    std::map<int, Shortcut> wanted_;
    Step step_ = Step::Idle;
    unsigned round_ = 0;
    bool roundScheduled_ = false;
    QString requestPath_; // the request whose Response is awaited
    QString session_;
    QTimer deadline_;
    std::deque<int> presses_; // waiting while an earlier press is being handled
    bool delivering_ = false;
};

} // namespace kv

Q_DECLARE_METATYPE(kv::PortalShortcut)
