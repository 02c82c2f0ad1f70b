#include "platform/qt_portal_global_hotkeys.h"

#include "platform/virtual_keys.h"

#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QRandomGenerator>

#include <vector>

namespace kv {
namespace {

constexpr const char* kRequestInterface = "org.freedesktop.portal.Request";
constexpr const char* kSessionInterface = "org.freedesktop.portal.Session";
constexpr const char* kShortcutIdPrefix = "kv-hotkey-";
constexpr uint kResponseSuccess = 0;

QString Token(const char* kind)
{
    return QStringLiteral("kv_%1_%2")
        .arg(kind)
        .arg(QRandomGenerator::global()->generate(), 8, 16, QChar('0'));
}

// The session handle comes as a string (as the interface says) or, from some portals, as a path.
QString SessionHandle(const QVariant& value)
{
    if (value.canConvert<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    return value.toString();
}

} // namespace

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

void RegisterPortalShortcutTypes()
{
    // Slots are matched to signals by their parameters' type names, which only types known
    // to the meta-type system by name have; until something has used it, a path is not one.
    qRegisterMetaType<QDBusObjectPath>();
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<PortalShortcuts>();
}

QString PortalTrigger(unsigned modifiers, unsigned virtualKey)
{
    const auto symbol = KeySymbolOfVirtualKey(virtualKey);
    if (!symbol)
        return {};
    QString trigger;
    if (modifiers & kHotkeyModControl)
        trigger += "CTRL+";
    if (modifiers & kHotkeyModAlt)
        trigger += "ALT+";
    if (modifiers & kHotkeyModShift)
        trigger += "SHIFT+";
    return trigger + QString::fromStdString(symbol->name);
}

QString PortalShortcutId(int id)
{
    return kShortcutIdPrefix + QString::number(id);
}

int HotkeyIdOfPortalShortcut(const QString& shortcutId)
{
    if (!shortcutId.startsWith(kShortcutIdPrefix))
        return -1;
    bool number = false;
    const int id = shortcutId.mid(static_cast<qsizetype>(qstrlen(kShortcutIdPrefix))).toInt(&number);
    return number && id >= 0 ? id : -1;
}

QtPortalGlobalHotkeys::QtPortalGlobalHotkeys(QDBusConnection bus, std::chrono::milliseconds answerLimit,
                                             QObject* parent)
    : QObject(parent), bus_(std::move(bus)), answerLimit_(answerLimit)
{
    RegisterPortalShortcutTypes();
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, &QtPortalGlobalHotkeys::portalMissing);
    hearsActivations_ =
        bus_.connect(kPortalService, kPortalPath, kGlobalShortcutsInterface, "Activated", this,
                     SLOT(onActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
}

QtPortalGlobalHotkeys::~QtPortalGlobalHotkeys()
{
    stopListening();
    closeSession();
}

bool QtPortalGlobalHotkeys::registerHotkey(int id, unsigned modifiers, unsigned virtualKey,
                                           std::string_view description)
{
    const QString trigger = PortalTrigger(modifiers, virtualKey);
    if (trigger.isEmpty())
        return false;
    wanted_[id] = {trigger,
                   QString::fromUtf8(description.data(), static_cast<qsizetype>(description.size()))};
    scheduleBinding();
    return true;
}

void QtPortalGlobalHotkeys::unregisterHotkey(int id)
{
    if (!wanted_.erase(id))
        return;
    if (wanted_.empty()) {
        ++round_;
        deadline_.stop();
        stopListening();
        closeSession();
    } else {
        scheduleBinding();
    }
}

// Registrations come in runs (all hotkeys at start, all again after a save): they are bound
// together once the run is over, so the portal asks the user about them once.
void QtPortalGlobalHotkeys::scheduleBinding()
{
    if (roundScheduled_)
        return;
    roundScheduled_ = true;
    QTimer::singleShot(0, this, [this] {
        roundScheduled_ = false;
        startRound();
    });
}

void QtPortalGlobalHotkeys::startRound()
{
    ++round_;
    stopListening();
    closeSession();
    if (wanted_.empty())
        return;
    // Shortcuts whose activations cannot reach us would be taken from the user for nothing.
    if (!hearsActivations_) {
        portalMissing();
        return;
    }
    step_ = Step::CreatingSession;
    deadline_.start(answerLimit_);
    const QString token = Token("request");
    expectResponse(token);
    QDBusMessage call = QDBusMessage::createMethodCall(kPortalService, kPortalPath, kGlobalShortcutsInterface,
                                                       "CreateSession");
    call << QVariantMap{{"handle_token", token}, {"session_handle_token", Token("session")}};
    send(call);
}

void QtPortalGlobalHotkeys::send(const QDBusMessage& call)
{
    auto* watcher =
        new QDBusPendingCallWatcher(bus_.asyncCall(call, static_cast<int>(answerLimit_.count())), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, watcher, round = round_, path = requestPath_] { requestAccepted(watcher, round, path); });
}

void QtPortalGlobalHotkeys::bindShortcuts()
{
    step_ = Step::Binding;
    PortalShortcuts shortcuts;
    for (const auto& [id, shortcut] : wanted_)
        shortcuts.append({PortalShortcutId(id),
                          {{"description", shortcut.description}, {"preferred_trigger", shortcut.trigger}}});
    const QString token = Token("request");
    expectResponse(token);
    QDBusMessage call = QDBusMessage::createMethodCall(kPortalService, kPortalPath, kGlobalShortcutsInterface,
                                                       "BindShortcuts");
    call << QVariant::fromValue(QDBusObjectPath(session_)) << QVariant::fromValue(shortcuts) << QString()
         << QVariantMap{{"handle_token", token}};
    send(call);
}

void QtPortalGlobalHotkeys::onRequestResponse(uint response, const QVariantMap& results)
{
    stopListening();
    if (step_ == Step::CreatingSession) {
        session_ = SessionHandle(results.value("session_handle"));
        if (response != kResponseSuccess || session_.isEmpty()) {
            portalMissing();
            return;
        }
        bindShortcuts();
    } else if (step_ == Step::Binding) {
        deadline_.stop();
        if (response != kResponseSuccess) {
            // The user turned the shortcuts down.
            closeSession();
            refuseAll();
            return;
        }
        boundShortcuts(results);
    }
}

void QtPortalGlobalHotkeys::boundShortcuts(const QVariantMap& results)
{
    step_ = Step::Bound;
    PortalShortcuts bound;
    const QVariant list = results.value("shortcuts");
    if (list.canConvert<QDBusArgument>())
        list.value<QDBusArgument>() >> bound;
    std::vector<int> unbound;
    for (const auto& [id, shortcut] : wanted_) {
        bool found = false;
        for (const PortalShortcut& entry : bound)
            found = found || HotkeyIdOfPortalShortcut(entry.id) == id;
        if (!found)
            unbound.push_back(id);
    }
    for (int id : unbound)
        refuse(id);
}

void QtPortalGlobalHotkeys::portalMissing()
{
    ++round_;
    deadline_.stop();
    stopListening();
    closeSession();
    refuseAll();
}

void QtPortalGlobalHotkeys::refuseAll()
{
    std::vector<int> ids;
    for (const auto& [id, shortcut] : wanted_)
        ids.push_back(id);
    for (int id : ids)
        refuse(id);
}

void QtPortalGlobalHotkeys::refuse(int id)
{
    // Taken off first: the report may open a dialog whose loop brings the next answer.
    if (wanted_.erase(id) && events())
        events()->HotkeyRefused(id);
}

void QtPortalGlobalHotkeys::closeSession()
{
    if (!session_.isEmpty() && bus_.isConnected())
        bus_.send(QDBusMessage::createMethodCall(kPortalService, session_, kSessionInterface, "Close"));
    session_.clear();
    step_ = Step::Idle;
}

void QtPortalGlobalHotkeys::expectResponse(const QString& token)
{
    // The portal names the request after our unique bus name (":1.42" → "1_42") and the token;
    // listening before the call means no answer can come first.
    QString sender = bus_.baseService().mid(1).replace('.', '_');
    listen(QStringLiteral("%1/request/%2/%3").arg(kPortalPath, sender, token));
}

void QtPortalGlobalHotkeys::listen(const QString& requestPath)
{
    stopListening();
    requestPath_ = requestPath;
    bus_.connect(kPortalService, requestPath_, kRequestInterface, "Response", this,
                 SLOT(onRequestResponse(uint, QVariantMap)));
}

void QtPortalGlobalHotkeys::requestAccepted(QDBusPendingCallWatcher* watcher, unsigned round,
                                            const QString& expectedPath)
{
    watcher->deleteLater();
    if (round != round_)
        return;
    const QDBusPendingReply<QDBusObjectPath> reply = *watcher;
    if (reply.isError()) {
        portalMissing();
        return;
    }
    // Its Response came first: the round has moved on.
    if (expectedPath != requestPath_)
        return;
    // A portal older than request tokens names the request itself.
    if (reply.value().path() != expectedPath)
        listen(reply.value().path());
    // Once the shortcuts are asked for, the user may take their time choosing triggers.
    if (step_ == Step::Binding)
        deadline_.stop();
}

void QtPortalGlobalHotkeys::stopListening()
{
    if (requestPath_.isEmpty())
        return;
    bus_.disconnect(kPortalService, requestPath_, kRequestInterface, "Response", this,
                    SLOT(onRequestResponse(uint, QVariantMap)));
    requestPath_.clear();
}

void QtPortalGlobalHotkeys::onActivated(const QDBusObjectPath& sessionHandle, const QString& shortcutId,
                                        qulonglong, const QVariantMap&)
{
    // An activation may overtake the answer that bound its shortcut: the session tells.
    const int id = HotkeyIdOfPortalShortcut(shortcutId);
    if (session_.isEmpty() || sessionHandle.path() != session_ || !wanted_.count(id))
        return;
    presses_.push_back(id);
    deliverPresses();
}

void QtPortalGlobalHotkeys::deliverPresses()
{
    // One press at a time: a press that arrives while the last one is handled waits for it.
    if (delivering_)
        return;
    delivering_ = true;
    while (!presses_.empty()) {
        const int id = presses_.front();
        presses_.pop_front();
        if (events() && wanted_.count(id))
            events()->HotkeyPressed(id);
    }
    delivering_ = false;
}

} // namespace kv
