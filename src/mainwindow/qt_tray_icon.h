#pragma once
// The tray icon and its menu: Show/Hide, Lock, the Sites tree as menus (a click logs in),
// the site hotkeys with their sites, Exit. It only shows and reports; the main window decides.
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
    TrayIcon(std::filesystem::path profileDirectory, std::filesystem::path profileFile, const QIcon& icon,
             QObject* parent = nullptr);
    ~TrayIcon() override;

    void show();
    // A one-line balloon beside the icon.
    void notify(const QString& text);
    // What the menu offers depends on the window: shown or hidden, locked or not.
    void setWindowState(bool windowVisible, bool locked, bool lockAvailable);
    QMenu* menu() const { return menu_; }
    QMenu* sitesMenu() const { return sites_; }
    QMenu* hotkeysMenu() const { return hotkeys_; }

signals:
    void showHideRequested();
    void lockRequested();
    void siteChosen(const QString& siteFile);
    void hotkeyChosen(int hotkeyNumber);
    void exitRequested();

private:
    void fillSitesMenu();
    void fillHotkeysMenu();

    std::filesystem::path profileDirectory_;
    std::filesystem::path profileFile_;
    QSystemTrayIcon* icon_;
    QMenu* menu_;
    QAction* showHide_;
    QAction* lock_;
    QMenu* sites_;
    QMenu* hotkeys_;
};

} // namespace kv
