// The main window's tray icon, its search box and its lock, on the real window with the
// real login engine over a recorded browser.
#include "browser/fake_browser.h"
#include "browser/login_engine.h"
#include "browser/site_commands.h"
#include "common/scripted_dialogs.h"
#include "common/temp_trash.h"
#include "gui/private_dbus_daemon.h"
#include "gui/x_session.h"
#include "gui_test_support.h"
#include "mainwindow/lock_settings.h"
#include "mainwindow/main_window_form.h"
#include "mainwindow/qt_tray_icon.h"
#include "mainwindow/tray_notice.h"
#include "platform/qt_logind_session_lock.h"
#include "startup/access_control.h"
#include "startup/login_dialog.h"
#include "startup/profile_settings.h"
#include "startup/startup_fakes.h"
#include "storage/hex_text.h"
#include "storage/ini_values.h"
#include "storage/key_material.h"
#include "storage/secure_store.h"
#include "widgets/sites_tree_widget.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace kv::test {
namespace {

class QuietHost : public BrowserHost {
public:
    void activate() override {}
    void reloadSitesTree() override {}
    void secureBrowsingPass() override {}
    void showHotkeysArea() override {}
};

class NoShell : public DesktopShell {
public:
    void open(std::string_view) override {}
    void lockSession() override {}
};

// The profile's own login, as the first-run wizard writes it.
void RequireOwnLogin(const std::filesystem::path& profileFile, const std::string& password)
{
    const CipherKeys& keys = CurrentCipherKeys();
    const auto write = [&](std::string_view key, std::string_view value, const std::string& cipherKey) {
        WriteIniValue(kSecuritySection, key, HexEncode(EncryptValue(value, cipherKey), " "), profileFile);
    };
    write(SECURITY_ENABLED, "1", keys.valueKey);
    write(LOGIN_CHOICE, "1", keys.machineKey);
    write(LOGIN, "Alice", keys.valueKey);
    write(PASS, password, keys.valueKey);
    write(LOGIN_COUNT, "3", keys.valueKey);
}

struct MainWindowWithLogins : ::testing::Test {
    MainWindowWithLogins()
    {
        WriteIniValue(kOptionsSection, EXITWARNING, "0", profile.file());
        WriteSecureValue(kMainSection, SITEFRIENDLYNAME, "My Bank",
                         profile.makeSite("Finance/Bank.QVR", "https://bank.example/"));
        profile.makeSite("Mail/Webmail.QVR", "https://mail.example/");
        WriteSecureValue(kMainSection, FORMLOGINVALUE, "bob.builder", profile.makeSite("Mail/Backup.QVR"));
        RequireOwnLogin(profile.file(), "s3cret");
    }

    std::unique_ptr<frmMain> open(bool withTray)
    {
        MainWindowContext context{profile.directory(),
                                  profile.file(),
                                  std::filesystem::path(KV_SOURCE_DIR) / "resources",
                                  dialogs,
                                  launcher,
                                  trash,
                                  &commands,
                                  nullptr,
                                  {},
                                  nullptr,
                                  {},
                                  {},
                                  nullptr,
                                  {}};
        context.passProgramLogin = [this] {
            return PassProgramLogin(profile.file(), dialogs, process, accounts, user,
                                    LoginCancel::ClosesDialog);
        };
        context.programLoginEnabled = [this] {
            return ProgramLoginEnabled(profile.file(), dialogs, process);
        };
        context.trayAvailable = [withTray] { return withTray; };
        context.clock = [this] { return now; };
        context.loginHotkey = [this](int n) { hotkeys.push_back(n); };
        auto window = std::make_unique<frmMain>(std::move(context));
        window->show();
        QApplication::setActiveWindow(window.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get(), 5000));
        return window;
    }

    // What the tree shows now, site by site.
    static std::vector<std::string> shownSites(frmMain& window)
    {
        std::vector<std::string> shown;
        for (QTreeWidgetItemIterator it(window.fraSites()->TreeView1(), QTreeWidgetItemIterator::NotHidden);
             *it; ++it)
            if (SitesTreeWidget::selectedImage(*it) == kSiteImage)
                shown.push_back((*it)->text(0).toStdString());
        return shown;
    }

    void typePassword(const std::string& password)
    {
        dialogs.onLogin([password](LoginDialog& dialog) { dialog.cmdYes_Click("alice", password); });
    }

    TestProfile profile;
    ScriptedDialogs dialogs;
    RecordingLauncher launcher;
    TempTrash trash;
    FakeWindowList browserWindows;
    PendingLogins pendingLogins;
    QuietHost host;
    NoShell shell;
    LoginEngine engine{browserWindows, pendingLogins,      dialogs, shell, host,
                       profile.file(), profile.directory()};
    SiteCommands commands{engine, dialogs};
    EndingProcess process;
    FixedAccountCheck accounts;
    FixedUserAccount user;
    std::chrono::steady_clock::time_point now{std::chrono::hours(1)};
    std::vector<int> hotkeys;
};

TEST_F(MainWindowWithLogins, SearchFiltersByNameAddressAndLoginAndEnterLogsIn)
{
    auto window = open(false);
    QLineEdit* search = window->fraSites()->txtSearch();
    EXPECT_EQ(shownSites(*window), (std::vector<std::string>{"Bank", "Backup", "Webmail"}));

    QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(search->hasFocus());
    QTest::keyClicks(search, "MY BA");
    EXPECT_EQ(shownSites(*window), std::vector<std::string>{"Bank"});
    search->setText("mail.example");
    EXPECT_EQ(shownSites(*window), std::vector<std::string>{"Webmail"});
    search->setText("builder");
    EXPECT_EQ(shownSites(*window), std::vector<std::string>{"Backup"});
    // The folder of no match goes too; the root stays.
    EXPECT_TRUE(window->fraSites()->TreeView1()->findKey(profile.folderKey("Finance"))->isHidden());
    EXPECT_FALSE(window->fraSites()->TreeView1()->topLevelItem(0)->isHidden());

    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_EQ(browserWindows.navigationsOfAll(), std::vector<std::string>{"https://a.example/"});
    search->clear();
    EXPECT_EQ(shownSites(*window).size(), 3u);
}

TEST_F(MainWindowWithLogins, ClosingHidesToTheTrayWithANoticeOnceAndExitEnds)
{
    auto window = open(true);
    ASSERT_NE(window->trayIcon(), nullptr);
    QSignalSpy unloaded(window.get(), &frmMain::unloaded);
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(unloaded.count(), 0);
    EXPECT_EQ(ReadIniValue(kOptionsSection, TRAYNOTICE, profile.file()), "1");
    EXPECT_FALSE(TakeTrayNotice(profile.file())) << "the notice is shown the first time only";

    // From the tray: a hotkey, named by its sites as saved now, a site of the tree, then Exit.
    ASSERT_FALSE(WriteIniValue(HotkeySection(3), HotkeyEntryKey(2), " Bank & Co ", profile.file()));
    ASSERT_FALSE(WriteIniValue(HotkeySection(3), HotkeyEntryKey(5), "Webmail", profile.file()));
    QMenu* hotkeyMenu = window->trayIcon()->hotkeysMenu();
    emit hotkeyMenu->aboutToShow();
    ASSERT_EQ(hotkeyMenu->actions().size(), kSiteHotkeyCount);
    EXPECT_EQ(hotkeyMenu->actions().at(0)->text(), "Ctrl + F1");
    EXPECT_EQ(hotkeyMenu->actions().at(2)->text(), "Ctrl + F3: Bank && Co, Webmail");
    hotkeyMenu->actions().at(2)->trigger();
    EXPECT_EQ(hotkeys, std::vector<int>{3});
    QMenu* menu = window->trayIcon()->menu();
    QMenu* sites = window->trayIcon()->sitesMenu();
    emit sites->aboutToShow();
    QAction* mail = nullptr;
    for (QAction* action : sites->actions())
        if (action->text() == "Mail")
            mail = action;
    ASSERT_NE(mail, nullptr);
    mail->menu()->actions().at(1)->trigger();
    EXPECT_EQ(browserWindows.navigationsOfAll(), std::vector<std::string>{"https://mail.example/"});

    menu->actions().back()->trigger();
    EXPECT_EQ(unloaded.count(), 1);
}

TEST_F(MainWindowWithLogins, WithoutATrayClosingEndsTheProgram)
{
    auto window = open(false);
    QSignalSpy unloaded(window.get(), &frmMain::unloaded);
    window->close();
    EXPECT_EQ(unloaded.count(), 1);
    EXPECT_EQ(ReadIniValue(kOptionsSection, TRAYNOTICE, profile.file()), "");
}

TEST_F(MainWindowWithLogins, IdleMinutesLockAndShowingAgainAsksTheLogin)
{
    ASSERT_TRUE(WriteLockIdleMinutes(profile.file(), 1));
    auto window = open(true);
    window->fraSites()->txtSearch()->setText("bank");

    now += std::chrono::seconds(59);
    window->programLock().idleCheck();
    EXPECT_TRUE(window->isVisible());
    now += std::chrono::seconds(2);
    window->programLock().idleCheck();
    EXPECT_TRUE(window->programLock().locked());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->fraSites()->txtSearch()->text(), "") << "the decrypted search is dropped";

    // Cancel keeps it locked (and the program running); a wrong password, then the right one.
    dialogs.onLogin([](LoginDialog& dialog) { dialog.cmdNo_Click(); });
    window->showFromOutside();
    EXPECT_FALSE(window->isVisible());
    typePassword("wrong");
    window->showFromOutside();
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"TRY AGAIN YOU HAVE 2 TIMES LEFT"});
    typePassword("s3cret");
    window->showFromOutside();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->programLock().locked());
    EXPECT_EQ(dialogs.forms().size(), 3u);
}

TEST_F(MainWindowWithLogins, CtrlLLocksAndTheTrayLogsIntoNothingWhileLocked)
{
    auto window = open(true);
    QTest::keyClick(window.get(), Qt::Key_L, Qt::ControlModifier);
    EXPECT_TRUE(window->programLock().locked());
    QMenu* menu = window->trayIcon()->menu();
    emit menu->aboutToShow();
    EXPECT_FALSE(window->trayIcon()->sitesMenu()->isEnabled());
    typePassword("s3cret");
    menu->actions().front()->trigger();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->trayIcon()->sitesMenu()->isEnabled());
}

TEST_F(MainWindowWithLogins, ProfileWithoutALoginHasNoLock)
{
    WriteIniValue(kSecuritySection, SECURITY_ENABLED,
                  HexEncode(EncryptValue("0", CurrentCipherKeys().valueKey), " "), profile.file());
    ASSERT_TRUE(WriteLockIdleMinutes(profile.file(), 1));
    auto window = open(true);
    window->lockProgram();
    now += std::chrono::minutes(5);
    window->programLock().idleCheck();
    EXPECT_FALSE(window->programLock().locked());
    EXPECT_TRUE(window->isVisible());
}

TEST(LockSettings, IdleMinutesReadBackAndNonsenseCountsAsNever)
{
    TestProfile profile;
    EXPECT_EQ(ReadLockIdleMinutes(profile.file()), 0);
    EXPECT_TRUE(WriteLockIdleMinutes(profile.file(), 15));
    EXPECT_EQ(ReadLockIdleMinutes(profile.file()), 15);
    EXPECT_FALSE(WriteLockIdleMinutes(profile.file(), -1));
    EXPECT_FALSE(WriteLockIdleMinutes(profile.file(), kMaxLockIdleMinutes + 1));
    for (const char* stored : {"x", "-3", "1441", "5 min", "2.5"}) {
        WriteIniValue(kOptionsSection, LOCKIDLEMINUTES, stored, profile.file());
        EXPECT_EQ(ReadLockIdleMinutes(profile.file()), 0) << stored;
    }
}

// A private bus (standing in for the system bus) with the stand-in logind on it.
class PrivateSystemBus {
public:
    PrivateSystemBus()
    {
        if (daemon_.address().empty())
            return;
        const auto ready = daemon_.folder() / "logind-ready";
        logind_ = std::make_unique<ChildProcess>(
            std::vector<std::string>{
                (std::filesystem::path(KV_BINARY_DIR) / "tests" / "fake_logind").string(), ready.string()},
            std::map<std::string, std::string>{{"DBUS_SYSTEM_BUS_ADDRESS", daemon_.address()}});
        ready_ = WaitFor([&ready] { return std::filesystem::exists(ready); }, std::chrono::seconds(10));
    }
    ~PrivateSystemBus()
    {
        QDBusConnection::disconnectFromBus(name_);
        logind_.reset();
    }
    bool ready() const { return ready_; }
    // The program's connection to this bus.
    QDBusConnection connection() const
    {
        return QDBusConnection::connectToBus(QString::fromStdString(daemon_.address()), name_);
    }
    // As `loginctl lock-session` asks logind.
    void lockSession(const QString& session) const
    {
        connection().call(QDBusMessage::createMethodCall("org.freedesktop.login1",
                                                         "/org/freedesktop/login1/session/" + session,
                                                         "org.freedesktop.login1.Session", "Lock"));
    }

private:
    // Every bus of a repeated run gets a connection name of its own.
    inline static int made_ = 0;
    QString name_ = QString("private-system-bus-%1").arg(++made_);
    PrivateDbusDaemon daemon_;
    std::unique_ptr<ChildProcess> logind_;
    bool ready_ = false;
};

TEST_F(MainWindowWithLogins, TheSessionsOwnLockLocksTheProgramAndNoOtherSessionDoes)
{
    PrivateSystemBus bus;
    if (!ProgramOnPath("dbus-daemon"))
        GTEST_SKIP() << "dbus-daemon is not installed";
    ASSERT_TRUE(bus.ready()) << "the stand-in logind did not start";
    auto window = open(true);
    LogindSessionLock sessionLock(bus.connection());
    QObject::connect(&sessionLock, &LogindSessionLock::sessionLocked, window.get(), &frmMain::lockProgram);
    QSignalSpy watching(&sessionLock, &LogindSessionLock::watching);
    ASSERT_TRUE(watching.wait(10000)) << "the session was never found";
    EXPECT_EQ(sessionLock.sessionPath(), "/org/freedesktop/login1/session/c1");

    QSignalSpy locked(&sessionLock, &LogindSessionLock::sessionLocked);
    bus.lockSession("c2");
    bus.lockSession("c1");
    ASSERT_TRUE(locked.wait(10000)) << "the session's Lock never arrived";
    EXPECT_EQ(locked.count(), 1);
    EXPECT_TRUE(window->programLock().locked());
}

} // namespace
} // namespace kv::test
