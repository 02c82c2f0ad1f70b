#include "mainwindow/main_window_form.h"

#include "browser/site_commands.h"
#include "hotkeys/hotkey_registration.h"
#include "mainwindow/about_frame.h"
#include "mainwindow/area_table.h"
#include "mainwindow/blocked_sites_frame.h"
#include "mainwindow/hotkeys_frame.h"
#include "mainwindow/import_export_frame.h"
#include "mainwindow/main_window_texts.h"
#include "mainwindow/news_frame.h"
#include "mainwindow/proxy_frame.h"
#include "mainwindow/qt_command_bar.h"
#include "mainwindow/qt_skin.h"
#include "mainwindow/qt_tray_icon.h"
#include "mainwindow/security_audit_frame.h"
#include "mainwindow/skin_table.h"
#include "mainwindow/time_saved_frame.h"
#include "mainwindow/tools_frame.h"
#include "mainwindow/tray_notice.h"
#include "mainwindow/tray_texts.h"
#include "mainwindow/updates_frame.h"
#include "widgets/qt_icons.h"
#include "widgets/qt_text.h"
#include "widgets/shortcut_bar_widget.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QVBoxLayout>

namespace kv {
namespace {

constexpr int kTwipsPerInch = 1440;
constexpr int kFrameGapTwips = 10;
constexpr int kWindowExtraHeightTwips = 850;
constexpr int kWindowWidth = 780;
constexpr int kBottomCornerSize = 32;
constexpr int kFrameRightMargin = 4;
// How often the idle minutes are looked at.
constexpr int kIdleCheckMs = 15'000;

QGroupBox* MakeFrame(QWidget* parent, const char* name, const QString& caption)
{
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(name);
    return frame;
}

// The dialogs of the program are found by their form names among the open windows.
const char* DialogFormName(HotkeyDialog dialog)
{
    switch (dialog) {
    case HotkeyDialog::SaveSite:
        return "frmYes";
    case HotkeyDialog::SiteDetails:
        return "frmSiteDetails";
    case HotkeyDialog::AddSite:
        return "frmWebsite";
    case HotkeyDialog::AuditDetail:
        break;
    }
    return "frmChecksecure";
}

QWidget* OpenDialog(HotkeyDialog dialog)
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->objectName() == DialogFormName(dialog))
            return window;
    return nullptr;
}

} // namespace

frmMain::frmMain(MainWindowContext context, QWidget* parent)
    : QMainWindow(parent), context_(std::move(context)),
      logic_(context_.profileFile, *this, context_.dialogs, context_.launcher, context_.shutdown),
      secrets_(clipboard_,
               [this](std::chrono::milliseconds delay, std::function<void()> call) {
                   QTimer::singleShot(delay, this, std::move(call));
               }),
      lock_(context_.profileFile, context_.clock ? context_.clock : ProgramLock::Clock([] {
                return std::chrono::steady_clock::now();
            }),
            {[this] { hideAndForget(); },
             [this] {
                 showNormal();
                 raise();
                 activateWindow();
                 updateTray();
             },
             [this] { return context_.passProgramLogin && context_.passProgramLogin(); },
             [this] {
                 return context_.passProgramLogin && context_.programLoginEnabled &&
                        context_.programLoginEnabled();
             }})
{
    setObjectName("frmMain");
    Form_Load();
}

void frmMain::Form_Load()
{
    if (context_.hotkeys)
        context_.hotkeys->RegisterHotkeys();
    setCentralWidget(new QWidget(this));
    bottomCorner_ = new QFrame(centralWidget());
    bottomCorner_->setObjectName("fraBottomCorner");
    bottomCorner_->setFixedSize(kBottomCornerSize, kBottomCornerSize);
    bottomCorner_->raise();
    buildCommandBar();
    if (context_.updates)
        context_.updates->schedule.ScheduleUpdateCheck();
    setWindowTitle(ToQString(kMainWindowCaption));
    if (auto skin = ProfileSkin(context_.profileFile, context_.dataDirectory))
        ApplySkin(*skin);
    const QIcon programIcon = ProgramIcon(context_.dataDirectory);
    setWindowIcon(programIcon);
    auto* image2 = new QLabel(bottomCorner_);
    image2->setObjectName("Image2");
    image2->setPixmap(programIcon.pixmap(kBottomCornerSize - 8, kBottomCornerSize - 8));
    image2->setGeometry(4, 4, kBottomCornerSize - 8, kBottomCornerSize - 8);

    bar_ = new ShortcutBar(centralWidget());
    connect(bar_, &ShortcutBar::selectionChanged, this, [this](int id) { logic_.onAreaSelected(id); });
    buildFrames();
    for (const Area& area : kAreas)
        bar_->addItem(area.barId, ToQString(area.barCaption));
    for (const Area& area : kAreas)
        bar_->setItemIcon(area.barId, LoadIcon(context_.dataDirectory, area.iconName));
    resize(kWindowWidth, bar_->naturalHeight() + twipsToPixelsY(kWindowExtraHeightTwips));
    centralWidget()->setMinimumSize(minimumClientSize());
    layoutFrames();
    bottomCorner_->raise();

    selectBarPosition(0);
    buildLockAndSearchKeys();
    buildTray();
    if (context_.createBrowserTracker)
        context_.createBrowserTracker();
    restoreWindowPosition();
    if (auto checked = logic_.loadNimbrase())
        sites_->setNimbrase(*checked);
}

void frmMain::buildCommandBar()
{
    commandBar_ = new CommandBar(menuBar());
    connect(commandBar_, &CommandBar::execute, this, [this](int id) { logic_.onCommand(id); });
    for (const Area& area : kAreas) {
        Command command = AreaCommand(area);
        commandBar_->addAction(command.id, ToQString(command.caption), ToQString(command.tooltip),
                               ToQString(command.description), ToQString(command.category));
    }
    commandBar_->addAction(kExitCommand.id, ToQString(kExitCommand.caption), ToQString(kExitCommand.tooltip),
                           ToQString(kExitCommand.description), ToQString(kExitCommand.category));
    commandBar_->addPopup(ToQString(kMenuPopupCaption), 0);
    for (const Area& area : kAreas)
        commandBar_->addControl(0, area.commandId, false);
    commandBar_->addControl(0, kCommandExit, true);
    commandBar_->addAction(kOnlineHelpCommand.id, ToQString(kOnlineHelpCommand.caption),
                           ToQString(kOnlineHelpCommand.tooltip), ToQString(kOnlineHelpCommand.description),
                           ToQString(kOnlineHelpCommand.category));
    commandBar_->addPopup(ToQString(kHelpPopupCaption), 1);
    commandBar_->addControl(1, kCommandOnlineHelp, false);
    for (const Area& area : kAreas)
        commandBar_->setIcon(area.commandId, LoadIcon(context_.dataDirectory, area.iconName));
    for (const Area& area : kAreas)
        commandBar_->bindControlKey(area.accelerator, area.commandId);

    // F5 and F1 belong to the window wherever the focus is inside it.
    for (int key : {kKeyF5, kKeyF1}) {
        auto* action = new QAction(this);
        action->setShortcut(key == kKeyF5 ? Qt::Key_F5 : Qt::Key_F1);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, [this, key] { logic_.onKeyDown(key); });
        addAction(action);
    }
}

void frmMain::buildFrames()
{
    QWidget* client = centralWidget();
    sites_ =
        new SitesFrame({context_.profileDirectory, context_.profileFile, context_.dialogs, context_.launcher,
                        context_.trash, context_.siteCommands, &secrets_, context_.captureLog},
                       client);
    connect(sites_, &SitesFrame::blockedSitesRequested, this, &frmMain::cmdBlock_Click);
    areaFrames_.insert(kAreaSites, sites_);
    hotkeysFrame_ = new HotkeysFrame(
        context_.profileDirectory, context_.profileFile, context_.dialogs,
        [hotkeys = context_.hotkeys] {
            if (hotkeys) {
                hotkeys->UnregisterHotkeys();
                hotkeys->RegisterHotkeys();
            }
        },
        client);
    areaFrames_.insert(kAreaHotkeys, hotkeysFrame_);
    // Areas whose content is not part of this window yet show their frame and caption.
    tools_ = new ToolsFrame(context_.dialogs, secrets_, client);
    areaFrames_.insert(kAreaTools, tools_);
    timeSaved_ = new TimeSavedFrame(context_.profileDirectory, client);
    areaFrames_.insert(kAreaTimeSaved, timeSaved_);
    audit_ = new SecurityAuditFrame(context_.profileDirectory, client);
    areaFrames_.insert(kAreaSecurityAudit, audit_);
    importExport_ = new ImportExportFrame({context_.profileDirectory, QDir::homePath().toStdString(),
                                           context_.dialogs, context_.shell, context_.printSites},
                                          client);
    areaFrames_.insert(kAreaImportExport, importExport_);
    if (OptionsAreaServices* options = context_.options) {
        optionsPanel_ = std::make_unique<OptionsPanel>(
            OptionsPanelContext{context_.profileFile, context_.dataDirectory, options->program,
                                context_.dialogs, options->process, options->registry, options->shortcuts,
                                context_.launcher, ApplySkin, options->hotkey});
        options_ = new OptionsFrame(*optionsPanel_, options->names, client);
        if (options->cleanup)
            options_->setCleanupPart(*options->cleanup);
        areaFrames_.insert(kAreaOptions, options_);
    } else {
        areaFrames_.insert(kAreaOptions, MakeFrame(client, "fraOptions",
                                                   ToQString(AreaAtPosition(kAreaOptions - 1)->barCaption)));
    }
    QWidget* proxy = nullptr;
    if (context_.updates) {
        updates_ = new UpdatesFrame(*context_.updates, client);
        connect(updates_, &UpdatesFrame::proxySetupRequested, this, &frmMain::cmd_ProxySetup_Click);
        areaFrames_.insert(kAreaUpdates, updates_);
        proxy = proxy_ = new ProxyFrame(context_.updates->proxy, client);
    } else {
        areaFrames_.insert(kAreaUpdates, MakeFrame(client, "fraUpdates",
                                                   ToQString(AreaAtPosition(kAreaUpdates - 1)->barCaption)));
        proxy = MakeFrame(client, "fraProxy", "Proxy");
    }
    auto* news = new NewsFrame(client);
    connect(news, &NewsFrame::newsPageRequested, this, [this] { logic_.openNewsPage(); });
    areaFrames_.insert(kAreaNews, news);

    block_ = new BlockedSitesFrame(context_.profileFile, context_.dialogs, client);
    connect(block_, &BlockedSitesFrame::goBackToSites, this, [this] {
        block_->hide();
        sites_->show();
    });
    subFrames_ = {block_, proxy};
    subFrames_.append(importExport_->pages());

    about_ = new AboutFrame(client);
    connect(about_, &AboutFrame::homePageRequested, this, [this] { logic_.openHomePage(); });
    for (QWidget* frame : allFrames())
        frame->hide();
}

QList<QWidget*> frmMain::allFrames() const
{
    QList<QWidget*> frames = areaFrames_.values();
    frames += subFrames_;
    frames.append(about_);
    return frames;
}

// Every frame whole beside the bar, and the corner below them; the bar itself scrolls
// when the window is lower than its items.
QSize frmMain::minimumClientSize() const
{
    QSize frame;
    for (const QWidget* each : allFrames())
        frame = frame.expandedTo(each->minimumSizeHint());
    return {bar_->width() + twipsToPixelsX(kFrameGapTwips) + frame.width() + kFrameRightMargin,
            frame.height() + kBottomCornerSize};
}

void frmMain::buildLockAndSearchKeys()
{
    auto* lock = new QAction(this);
    lock->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    lock->setShortcutContext(Qt::WindowShortcut);
    connect(lock, &QAction::triggered, this, &frmMain::lockProgram);
    addAction(lock);
    auto* search = new QAction(this);
    search->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    search->setShortcutContext(Qt::WindowShortcut);
    connect(search, &QAction::triggered, this, [this] {
        if (logic_.selectedPosition() != 0)
            selectBarPosition(0);
        sites_->focusSearch();
    });
    addAction(search);

    // Any input in any of the program's windows counts as activity.
    qApp->installEventFilter(this);
    idleTimer_ = new QTimer(this);
    connect(idleTimer_, &QTimer::timeout, this, [this] {
        lock_.idleCheck();
        updateTray();
    });
    idleTimer_->start(kIdleCheckMs);
}

void frmMain::buildTray()
{
    const bool available =
        context_.trayAvailable ? context_.trayAvailable() : QSystemTrayIcon::isSystemTrayAvailable();
    if (!available)
        return;
    tray_ = new TrayIcon(context_.profileDirectory, context_.profileFile, ProgramIcon(context_.dataDirectory),
                         this);
    connect(tray_, &TrayIcon::showHideRequested, this, [this] {
        if (isVisible())
            hide();
        else
            showFromOutside();
        updateTray();
    });
    connect(tray_, &TrayIcon::lockRequested, this, &frmMain::lockProgram);
    connect(tray_, &TrayIcon::siteChosen, this, [this](const QString& file) {
        if (lock_.locked() || !context_.siteCommands)
            return;
        SitesTreeNode node;
        node.key = file.toStdString();
        node.image = node.selectedImage = kSiteImage;
        context_.siteCommands->mnuLogin(&node);
    });
    connect(tray_, &TrayIcon::hotkeyChosen, this, [this](int hotkeyNumber) {
        if (!lock_.locked() && context_.loginHotkey)
            context_.loginHotkey(hotkeyNumber);
    });
    connect(tray_, &TrayIcon::exitRequested, this, [this] { logic_.onCommand(kCommandExit); });
    connect(tray_->menu(), &QMenu::aboutToShow, this, &frmMain::updateTray);
    updateTray();
    tray_->show();
}

void frmMain::updateTray()
{
    if (tray_)
        tray_->setWindowState(isVisible(), lock_.locked(), lock_.available());
}

void frmMain::showFromOutside()
{
    lock_.show();
}

void frmMain::lockProgram()
{
    lock_.lock();
    updateTray();
}

void frmMain::hideAndForget()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != this && window->isVisible() && !qobject_cast<QMenu*>(window))
            window->close();
    }
    hide();
    sites_->forgetDecrypted();
    // Without a tray there is nothing left to show the window again with: the login is
    // asked at once.
    if (!tray_)
        QTimer::singleShot(0, this, &frmMain::showFromOutside);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::Wheel:
        lock_.userActive();
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::layoutFrames()
{
    QWidget* client = centralWidget();
    bar_->setGeometry(0, 0, bar_->width(), client->height());
    const int left = bar_->width() + twipsToPixelsX(kFrameGapTwips);
    const QRect area(left, 0, client->width() - left - kFrameRightMargin,
                     client->height() - kBottomCornerSize);
    for (QWidget* frame : allFrames())
        frame->setGeometry(area);
    bottomCorner_->move(client->width() - bottomCorner_->width(), client->height() - bottomCorner_->height());
}

void frmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (bar_)
        layoutFrames();
}

void frmMain::selectBarPosition(int position)
{
    bar_->selectPosition(position);
}

void frmMain::hideAllAreas()
{
    for (QWidget* frame : allFrames())
        frame->hide();
    about_->stop();
    sites_->clearTree();
}

void frmMain::showArea(int barId)
{
    if (barId == kAreaAbout) {
        about_->show();
        about_->start();
    } else if (barId == kAreaHotkeys) {
        hotkeysFrame_->selectFirstHotkey();
        hotkeysFrame_->show();
        hotkeysFrame_->LoadHotkeyLists();
    } else if (QWidget* frame = areaFrames_.value(barId)) {
        if (barId == kAreaTools)
            tools_->selectOption(3);
        else if (barId == kAreaImportExport)
            importExport_->OptionImportExport_Click(0);
        frame->show();
        if (barId == kAreaSites)
            sites_->reloadTree();
        else if (barId == kAreaTimeSaved)
            timeSaved_->refresh();
        else if (barId == kAreaSecurityAudit)
            audit_->fill();
        else if (barId == kAreaUpdates && updates_)
            updates_->showStoredSettings();
        else if (barId == kAreaOptions && options_)
            options_->loadOptions();
    }
    emit areaShown(barId);
}

void frmMain::reloadSitesTree()
{
    sites_->reloadTree();
}

// The blocked sites replace the Sites area until "Go back": frames are see-through, so the
// two captions would otherwise print over each other.
void frmMain::cmdBlock_Click()
{
    sites_->hide();
    block_->raise();
    block_->RefreshBlockedList();
    block_->show();
}

void frmMain::cmd_ProxySetup_Click()
{
    proxy_->raise();
    proxy_->cmd_ProxySetup_Click();
    proxy_->show();
}

void frmMain::closeWindow()
{
    exiting_ = true;
    close();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    if (unloading_) {
        event->accept();
        return;
    }
    // Closing the window keeps the program in the tray; only Exit ends it.
    if (tray_ && !exiting_) {
        event->ignore();
        hide();
        if (TakeTrayNotice(context_.profileFile))
            tray_->notify(QString::fromUtf8(kTrayNotice.data(), static_cast<qsizetype>(kTrayNotice.size())));
        updateTray();
        return;
    }
    exiting_ = false;
    if (!logic_.onUnloadRequest()) {
        event->ignore();
        return;
    }
    unloading_ = true;
    event->accept();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != this && window->isVisible())
            window->close();
    }
    emit unloaded();
}

bool frmMain::dialogOpen(HotkeyDialog dialog) const
{
    return OpenDialog(dialog) != nullptr;
}

void frmMain::closeDialog(HotkeyDialog dialog)
{
    if (QWidget* open = OpenDialog(dialog))
        open->close();
}

bool frmMain::windowVisible() const
{
    return isVisible();
}

void frmMain::setWindowVisible(bool visible)
{
    if (!visible) {
        hide();
        return;
    }
    show();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

// The position saved and restored is the outer edge of the window frame, both ways.
TwipPoint frmMain::windowPosition() const
{
    const QPoint at = pos();
    return {pixelsToTwipsX(at.x()), pixelsToTwipsY(at.y())};
}

// Placed before the window first shows: a window that already exists has no frame yet, and
// move() would then place its client area where the frame belongs, one title bar too low on
// every start under a window manager.
void frmMain::restoreWindowPosition()
{
    QScreen* shown = screen() ? screen() : QApplication::primaryScreen();
    const QRect available = shown->geometry();
    const QSize outer = frameGeometry().size();
    TwipPoint at =
        logic_.restoredPosition({pixelsToTwipsX(available.width()), pixelsToTwipsY(available.height())},
                                {pixelsToTwipsX(outer.width()), pixelsToTwipsY(outer.height())});
    move(twipsToPixelsX(at.left), twipsToPixelsY(at.top));
}

int frmMain::twipsToPixelsX(int twips) const
{
    return twips * logicalDpiX() / kTwipsPerInch;
}

int frmMain::twipsToPixelsY(int twips) const
{
    return twips * logicalDpiY() / kTwipsPerInch;
}

int frmMain::pixelsToTwipsX(int pixels) const
{
    return pixels * kTwipsPerInch / logicalDpiX();
}

int frmMain::pixelsToTwipsY(int pixels) const
{
    return pixels * kTwipsPerInch / logicalDpiY();
}

} // namespace kv
