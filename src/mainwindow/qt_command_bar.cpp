#include "mainwindow/qt_command_bar.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace kv {

CommandBar::CommandBar(QMenuBar* bar) : QObject(bar), bar_(bar) {}

void CommandBar::addAction(int commandId, const QString& caption, const QString& tooltip,
                           const QString& description, const QString& category)
{
    auto* action = new QAction(caption, bar_);
    action->setToolTip(tooltip);
    action->setStatusTip(description);
    action->setWhatsThis(description);
    action->setProperty("category", category);
    action->setProperty("commandId", commandId);
    connect(action, &QAction::triggered, this, [this, commandId] { emit execute(commandId); });
    actions_.insert(commandId, action);
}

void CommandBar::addPopup(const QString& caption, int popupId)
{
    QMenu* menu = bar_->addMenu(caption);
    menu->setToolTipsVisible(true);
    popups_.insert(popupId, menu);
}

void CommandBar::addControl(int popupId, int commandId, bool beginGroup)
{
    QMenu* menu = popups_.value(popupId);
    QAction* command = actions_.value(commandId);
    if (!menu || !command)
        return;
    if (beginGroup)
        menu->addSeparator();
    menu->addAction(command);
}

void CommandBar::setIcon(int commandId, const QIcon& icon)
{
    if (QAction* command = actions_.value(commandId))
        command->setIcon(icon);
}

void CommandBar::bindControlKey(char letter, int commandId)
{
    QAction* command = actions_.value(commandId);
    if (!command)
        return;
    command->setShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_A + (letter - 'A'))));
    // The window owns the binding, so the key works wherever the focus is inside it.
    command->setShortcutContext(Qt::WindowShortcut);
    if (QWidget* window = bar_->window(); window && !window->actions().contains(command))
        window->addAction(command);
}

} // namespace kv
