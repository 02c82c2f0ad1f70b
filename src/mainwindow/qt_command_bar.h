#pragma once
// The menu bar: an action list keyed by command id, pop-up menus holding those
// commands, icons and Ctrl+letter bindings per id. Every command reports through execute().
#include <QHash>
#include <QIcon>
#include <QObject>
#include <QString>

class QAction;
class QMenu;
class QMenuBar;

namespace kv {

class CommandBar : public QObject {
    Q_OBJECT
public:
    explicit CommandBar(QMenuBar* bar);

    void addAction(int commandId, const QString& caption, const QString& tooltip, const QString& description,
                   const QString& category);
    void addPopup(const QString& caption, int popupId);
    // Adds the command as a plain button; beginGroup puts a separator before it.
    void addControl(int popupId, int commandId, bool beginGroup);
    void setIcon(int commandId, const QIcon& icon);
    void bindControlKey(char letter, int commandId);

    QAction* action(int commandId) const { return actions_.value(commandId); }
    QMenu* popup(int popupId) const { return popups_.value(popupId); }

signals:
    void execute(int commandId);

private:
    QMenuBar* bar_;
    QHash<int, QAction*> actions_;
    QHash<int, QMenu*> popups_;
};

} // namespace kv
