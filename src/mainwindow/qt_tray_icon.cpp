#include "mainwindow/qt_tray_icon.h"

#include "hotkeys/hotkey_lists.h"
#include "hotkeys/hotkey_texts.h"
#include "mainwindow/tray_texts.h"
#include "startup/profile_settings.h"
#include "storage/sites_tree_model.h"
#include "widgets/qt_text.h"

#include <QMenu>
#include <QSystemTrayIcon>
#include <map>

namespace kv {

TrayIcon::TrayIcon(std::filesystem::path profileDirectory, std::filesystem::path profileFile,
                   const QIcon& icon, QObject* parent)
    : QObject(parent), profileDirectory_(std::move(profileDirectory)), profileFile_(std::move(profileFile)),
      icon_(new QSystemTrayIcon(icon, this)), menu_(new QMenu),
      showHide_(menu_->addAction(ToQString(kTrayShow))), lock_(menu_->addAction(ToQString(kTrayLock)))
{
    menu_->setObjectName("mnuTray");
    menu_->addSeparator();
    sites_ = menu_->addMenu(ToQString(kTraySites));
    sites_->setObjectName("mnuTraySites");
    hotkeys_ = menu_->addMenu(ToQString(kTrayHotkeys));
    hotkeys_->setObjectName("mnuTrayHotkeys");
    menu_->addSeparator();
    connect(menu_->addAction(ToQString(kTrayExit)), &QAction::triggered, this, &TrayIcon::exitRequested);
    connect(showHide_, &QAction::triggered, this, &TrayIcon::showHideRequested);
    connect(lock_, &QAction::triggered, this, &TrayIcon::lockRequested);
    // The tree is read when the menu opens, so it shows what is on disk now.
    connect(sites_, &QMenu::aboutToShow, this, &TrayIcon::fillSitesMenu);
    connect(hotkeys_, &QMenu::aboutToShow, this, &TrayIcon::fillHotkeysMenu);
    icon_->setContextMenu(menu_);
    icon_->setToolTip("Kestrelyn Vormaplex");
    connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            emit showHideRequested();
    });
}

TrayIcon::~TrayIcon()
{
    delete menu_;
}

void TrayIcon::show()
{
    icon_->show();
}

void TrayIcon::notify(const QString& text)
{
    icon_->showMessage("Kestrelyn Vormaplex", text);
}

void TrayIcon::setWindowState(bool windowVisible, bool locked, bool lockAvailable)
{
    showHide_->setText(ToQString(windowVisible ? kTrayHide : kTrayShow));
    lock_->setEnabled(lockAvailable && !locked);
    // Nothing is logged into while the program is locked.
    sites_->setEnabled(!locked);
    hotkeys_->setEnabled(!locked);
}

void TrayIcon::fillSitesMenu()
{
    sites_->clear();
    SitesTreeModel tree;
    FillSitesTree(tree, profileDirectory_);
    std::map<std::size_t, QMenu*> menus{{0, sites_}};
    for (std::size_t index = 1; index < tree.nodes().size(); ++index) {
        const SitesTreeNode& node = tree.nodes()[index];
        QMenu* parent = menus.at(node.parent.value_or(0));
        if (node.selectedImage == kSiteImage) {
            const QString file = QString::fromStdString(node.key);
            connect(parent->addAction(QString::fromStdString(node.text)), &QAction::triggered, this,
                    [this, file] { emit siteChosen(file); });
        } else {
            menus[index] = parent->addMenu(QString::fromStdString(node.text));
        }
    }
    if (tree.nodes().size() <= 1)
        sites_->addAction(ToQString(kTrayNoSites))->setEnabled(false);
}

void TrayIcon::fillHotkeysMenu()
{
    hotkeys_->clear();
    for (int n = 1; n <= kSiteHotkeyCount; ++n) {
        QStringList names;
        for (const std::string& name : HotkeySiteNames(profileFile_, n))
            names << QString::fromStdString(name).replace('&', "&&"); // a name's & is no shortcut
        QString text = ToQString(kHotkeyEntryPrefix) + QString::number(n);
        if (!names.isEmpty())
            text += ": " + names.join(", ");
        connect(hotkeys_->addAction(text), &QAction::triggered, this, [this, n] { emit hotkeyChosen(n); });
    }
}

} // namespace kv
