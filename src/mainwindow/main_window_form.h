#pragma once
// frmMain: the menu bar, the shortcut bar of ten areas and their frames. It shows and
// forwards; MainWindowLogic decides.
#include "hotkeys/hide_show_window.h"
#include "mainwindow/main_window_logic.h"
#include "mainwindow/options_frame.h"
#include "mainwindow/program_lock.h"
#include "mainwindow/sites_frame.h"
#include "platform/desktop_shell.h"
#include "tools/secret_clipboard.h"
#include "widgets/qt_clipboard.h"

#include <QHash>
#include <QMainWindow>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>

class QFrame;
class QLabel;
class QTimer;

namespace kv {

class AboutFrame;
class BlockedSitesFrame;
class CommandBar;
class HotkeyRegistration;
class HotkeysFrame;
class ImportExportFrame;
class ProxyFrame;
class OptionsFrame;
class SecurityAuditFrame;
class ShortcutBar;
class TimeSavedFrame;
class ToolsFrame;
class Updates;
class UpdatesFrame;
class TrayIcon;

struct MainWindowContext {
    std::filesystem::path profileDirectory;
    std::filesystem::path profileFile;
    std::filesystem::path dataDirectory;
    Dialogs& dialogs;
    UrlLauncher& launcher;
    Trash& trash;
    // The login commands of the Sites area and the capture log, when there is a browser side.
    SiteCommands* siteCommands = nullptr;
    CaptureLog* captureLog = nullptr;
    // Hotkeys, updates and the browser tracker belong to other parts; each is optional.
    // The hotkeys are registered first thing when the window loads, and again after a
    // hotkey list is saved.
    HotkeyRegistration* hotkeys = nullptr;
    Updates* updates = nullptr;
    std::function<void()> createBrowserTracker;
    ShutdownSteps shutdown;
    // Opens the export folder in the desktop's file browser; optional.
    DesktopShell* shell = nullptr;
    // Shows the print page in the program's browser with its print dialog; optional.
    std::function<void()> printSites;
    // The Options area's stores; without them the area is an empty frame.
    OptionsAreaServices* options = nullptr;
    // The lock: the profile's login dialogs when the window is shown again (true when passed),
    // and whether the profile has a login at all. Without them the lock is off.
    std::function<bool()> passProgramLogin{};
    std::function<bool()> programLoginEnabled{};
    // Where the tray icon is (the desktop's tray when unset); without one, closing exits.
    std::function<bool()> trayAvailable{};
    // The idle lock's clock (the steady clock when unset).
    ProgramLock::Clock clock{};
    // A tray click on a site or a hotkey logs in.
    std::function<void(int hotkeyNumber)> loginHotkey{};
};

class frmMain : public QMainWindow, public MainWindowView, public HideShowWindow {
    Q_OBJECT
public:
    explicit frmMain(MainWindowContext context, QWidget* parent = nullptr);

    // MainWindowView
    void selectBarPosition(int position) override;
    void hideAllAreas() override;
    void showArea(int barId) override;
    void reloadSitesTree() override;
    void closeWindow() override;
    TwipPoint windowPosition() const override;

    // HideShowWindow
    bool dialogOpen(HotkeyDialog dialog) const override;
    void closeDialog(HotkeyDialog dialog) override;
    bool windowVisible() const override;
    void setWindowVisible(bool visible) override;

    MainWindowLogic& logic() { return logic_; }
    ProgramLock& programLock() { return lock_; }
    TrayIcon* trayIcon() const { return tray_; }
    // From the tray, the desktop or a later start: shows the window, asking the login first
    // when the program is locked.
    void showFromOutside();
    // Ctrl+L, the tray, the session's lock.
    void lockProgram();
    CommandBar* CommandBars() const { return commandBar_; }
    ShortcutBar* wndShortcutBar() const { return bar_; }
    SitesFrame* fraSites() const { return sites_; }
    BlockedSitesFrame* fraBlock() const { return block_; }
    HotkeysFrame* fraHotkey() const { return hotkeysFrame_; }
    AboutFrame* aboutElements() const { return about_; }
    ToolsFrame* fraTools() const { return tools_; }
    TimeSavedFrame* fraTimeSaved() const { return timeSaved_; }
    SecurityAuditFrame* fraSecurityAudit() const { return audit_; }
    ImportExportFrame* fraImportExport() const { return importExport_; }
    UpdatesFrame* fraUpdates() const { return updates_; }
    ProxyFrame* fraProxy() const { return proxy_; }
    OptionsFrame* fraOptions() const { return options_; }
    QWidget* areaFrame(int barId) const { return areaFrames_.value(barId); }

signals:
    void areaShown(int barId);
    // The window has closed for good: the program ends.
    void unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Form_Load();
    void buildCommandBar();
    void buildFrames();
    void layoutFrames();
    QList<QWidget*> allFrames() const;
    QSize minimumClientSize() const;
    void restoreWindowPosition();
    void cmdBlock_Click();
    void cmd_ProxySetup_Click();
    void buildTray();
    void buildLockAndSearchKeys();
    void hideAndForget();
    void updateTray();
    int twipsToPixelsX(int twips) const;
    int twipsToPixelsY(int twips) const;
    int pixelsToTwipsX(int pixels) const;
    int pixelsToTwipsY(int pixels) const;

    MainWindowContext context_;
    MainWindowLogic logic_;
    CommandBar* commandBar_ = nullptr;
    ShortcutBar* bar_ = nullptr;
    QFrame* bottomCorner_ = nullptr;
    SitesFrame* sites_ = nullptr;
    HotkeysFrame* hotkeysFrame_ = nullptr;
    BlockedSitesFrame* block_ = nullptr;
    AboutFrame* about_ = nullptr;
    ToolsFrame* tools_ = nullptr;
    TimeSavedFrame* timeSaved_ = nullptr;
    SecurityAuditFrame* audit_ = nullptr;
    ImportExportFrame* importExport_ = nullptr;
    std::unique_ptr<OptionsPanel> optionsPanel_;
    OptionsFrame* options_ = nullptr;
    QtClipboard clipboard_;
    SecretClipboard secrets_;
    UpdatesFrame* updates_ = nullptr;
    ProxyFrame* proxy_ = nullptr;
    QHash<int, QWidget*> areaFrames_;
    QList<QWidget*> subFrames_;
    ProgramLock lock_;
    TrayIcon* tray_ = nullptr;
    QTimer* idleTimer_ = nullptr;
    bool exiting_ = false; // the window closes for good, not to the tray
    bool unloading_ = false;
};

} // namespace kv
