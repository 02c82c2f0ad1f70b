#pragma once
// The tray icon and its menu: Show/Hide, Lock, the Sites tree as menus (a click logs in),
// the ten site hotkeys, Exit. It only shows and reports; the main window decides.
#include <QIcon>
#include <QObject>
#include <QString>
#include <filesystem>

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace kv {

class TrayIcon : public QObject {
    Q_OBJECT
public:
    TrayIcon(std::filesystem::path profileDirectory, const QIcon& icon, QObject* parent = nullptr);
    ~TrayIcon() override;

    void show();
    // A one-line balloon beside the icon.
    void notify(const QString& text);
    // What the menu offers depends on the window: shown or hidden, locked or not.
    void setWindowState(bool windowVisible, bool locked, bool lockAvailable);
    QMenu* menu() const { return menu_; }
    QMenu* sitesMenu() const { return sites_; }

signals:
    void showHideRequested();
    void lockRequested();
    void siteChosen(const QString& siteFile);
    void hotkeyChosen(int hotkeyNumber);
    void exitRequested();

private:
    void fillSitesMenu();

    std::filesystem::path profileDirectory_;
    QSystemTrayIcon* icon_;
    QMenu* menu_;
    QAction* showHide_;
    QAction* lock_;
    QMenu* sites_;
    QMenu* hotkeys_;
};

} // namespace kv
