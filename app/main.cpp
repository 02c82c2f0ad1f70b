// kestrelyn-vormaplex: the start-up sequence (profile, first-run wizard, program login),
// then the main window.
#include "app/browser_session.h"
#include "app/desktop_hotkeys.h"
#include "app/qt_dialogs.h"
#include "cleanup/browser_cleanup_widget.h"
#include "mainwindow/data_directory.h"
#include "mainwindow/main_window_form.h"
#include "mainwindow/main_window_texts.h"
#include "mainwindow/program_requests.h"
#include "platform/account_check.h"
#include "platform/autostart_registry_backend.h"
#include "platform/connection_state.h"
#include "platform/core_dumps.h"
#include "platform/curl_http_client.h"
#include "platform/desktop_entry.h"
#include "platform/exiting_process.h"
#include "platform/freedesktop_trash.h"
#include "platform/installation_probe.h"
#include "platform/machine_identity.h"
#include "platform/process_terminator.h"
#include "platform/qt_gui_thread.h"
#include "platform/qt_instance_server.h"
#include "platform/qt_interval_timer.h"
#include "platform/qt_logind_session_lock.h"
#include "platform/single_instance.h"
#include "platform/supported_browser.h"
#include "platform/user_account.h"
#include "platform/xdg_desktop_shell.h"
#include "platform/xdg_directories.h"
#include "platform/xdg_launcher.h"
#include "startup/access_control.h"
#include "startup/profile.h"
#include "startup/program_desktop_entries.h"
#include "startup/start_up.h"
#include "support/reg_access.h"
#include "support/sqlite_registry_backend.h"
#include "tools/site_printer.h"
#include "update/updates.h"
#include "update_public_key.h"
#include "version.h"
#include "widgets/qt_icons.h"
#include "widgets/qt_wait_until.h"

#include <QApplication>

#include <memory>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    using namespace kv;
    // Before anything secret is read into memory.
    ForbidCoreDumps();
    QApplication application(argc, argv);
    application.setApplicationName("kestrelyn-vormaplex");
    const std::filesystem::path executable = QCoreApplication::applicationFilePath().toStdString();
    const std::filesystem::path dataDirectory = DataDirectory(executable);
    application.setWindowIcon(ProgramIcon(dataDirectory));

    QtDialogs dialogs(QString::fromUtf8(kApplicationTitle.data(), kApplicationTitle.size()), dataDirectory);
    ExitingProcess process;
    SqliteRegistryBackend registryStore(DefaultRegistryDirectory());
    AutostartRegistryBackend registryBackend(registryStore, DefaultAutostartFile());
    clsRegAccess registry(registryBackend);
    LinuxMachineIdentity machine;
    LinuxUserAccount user;
    PamAccountCheck accounts;
    RuntimeDirInstanceLock instance(UserRuntimeDirectory());
    SignalProcessTerminator terminator;
    const std::filesystem::path programIcon =
        dataDirectory / "icons" / (std::string(kDesktopIconName) + ".svg");
    ProgramDesktopEntries shortcuts(registry, XdgLauncher(XdgDataHome(), executable, programIcon), executable,
                                    programIcon);
    const std::filesystem::path browser = FindSupportedBrowser();
    StartUpContext context{dialogs,
                           process,
                           registry,
                           machine,
                           user,
                           accounts,
                           instance,
                           terminator,
                           shortcuts,
                           executable,
                           !browser.empty(),
                           FillSecureRandom,
                           DefaultRegistryDirectory()};
    StartUp(std::vector<std::string>(argv + 1, argv + argc), context);

    XdgDesktopShell shell;
    FreedesktopTrash trash(FreedesktopTrash::DefaultHomeTrash());
    BrowserSession browserSession(browser, ProfileFile(), CurrentProfile().path, dataDirectory, dialogs,
                                  shell, trash, [&shortcuts] { return shortcuts.toolbarButtonPresent(); });
    DesktopHotkeys hotkeys(dialogs, ProfileFile());
    // Released at shutdown, and before an update restarts the program.
    const auto releaseHotkeys = [&hotkeys] { hotkeys.registration().UnregisterHotkeys(); };
    const ShutdownSteps shutdown{[&] { browserSession.runExitCleanup(ProfileFile(), dialogs); },
                                 releaseHotkeys};

    QtGuiThread guiThread;
    CurlHttpClient http;
    LinuxInstallationProbe installation;
    LinuxConnectionState connection;
    QtIntervalTimer tmrUpdate(std::chrono::seconds(1));
    Updates updates({http, guiThread, dialogs, browserSession.launcher(), process, registry, installation,
                     connection, tmrUpdate, executable, ProfileFile(),
                     ProgramVersion{kVersionMajor, kVersionMinor, kVersionRevision},
                     *UpdatePublicKeyFromHex(kUpdatePublicKeyHex), UpdateServers{}, releaseHotkeys});
    tmrUpdate.onTick([&updates] { updates.schedule.tmrUpdate_Timer(); });

    BrowserCleanupPanel cleanupPanel(browserSession.cleanup(), browserSession.cache(), ProfileFile(), dialogs,
                                     shell);
    // The Options area's Browser tab takes it in.
    auto* cleanupBoxes = new BrowserCleanupWidget(cleanupPanel);
    OptionsAreaServices options{
        process,
        registry,
        shortcuts,
        executable,
        &hotkeys,
        DesktopHotkeys::OfferedNames(),
        OptionsCleanupPart{cleanupBoxes, [cleanupBoxes] { cleanupBoxes->loadOptions(); },
                           [cleanupBoxes] { cleanupBoxes->saveOptions(); }, cleanupBoxes->tabOrder()}};
    MainWindowContext windowContext{
        CurrentProfile().path,
        ProfileFile(),
        dataDirectory,
        dialogs,
        browserSession.launcher(),
        trash,
        &browserSession.siteCommands(),
        &browserSession.captureLog(),
        &hotkeys.registration(),
        &updates,
        [&browserSession] { browserSession.createTracker(); },
        shutdown,
        &shell,
        [&browserSession] { PrintSites(browserSession.windows(), CurrentProfile().path, QtWaitUntil); },
        &options};
    // Showing a locked window asks the profile's login again; Cancel keeps it locked.
    windowContext.passProgramLogin = [&] {
        return PassProgramLogin(ProfileFile(), dialogs, process, accounts, user, LoginCancel::ClosesDialog);
    };
    windowContext.programLoginEnabled = [&] { return ProgramLoginEnabled(ProfileFile(), dialogs, process); };
    windowContext.loginHotkey = [&browserSession](int n) { browserSession.loginHotkeySites(n); };
    frmMain window(std::move(windowContext));
    browserSession.host().attach(&window);
    hotkeys.dispatchTo(window, [&browserSession](int n) { browserSession.loginHotkeySites(n); });
    dialogs.setParent(&window);
    // With a tray the window may be hidden when the last dialog closes: only its unload ends the program.
    application.setQuitOnLastWindowClosed(false);
    QObject::connect(&window, &frmMain::unloaded, &application, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    // The desktop session's lock locks the program too.
    LogindSessionLock sessionLock;
    QObject::connect(&sessionLock, &LogindSessionLock::sessionLocked, &window, &frmMain::lockProgram);

    // A later start asks this one to come forward, or to log in for the command-line tool.
    ProgramRequests requests(
        CurrentProfile().path, browserSession.engine(), browserSession.siteCommands(),
        {[&window] { window.showFromOutside(); }, [&window] { return window.programLock().locked(); }});
    QtInstanceServer requestServer(
        instance, [&requests](const InstanceRequest& request) { return requests.handle(request); });

    window.show();
    return application.exec();
}
