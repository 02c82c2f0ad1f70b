#include "mainwindow/sites_frame.h"

#include "browser/site_commands.h"
#include "browser/website_form.h"
#include "mainwindow/capture_log_widget.h"
#include "mainwindow/nimbrase_option.h"
#include "mainwindow/site_details_form.h"
#include "mainwindow/tray_texts.h"
#include "sites/site_tree_commands.h"
#include "sites/site_tree_texts.h"
#include "storage/site_file.h"
#include "storage/sites_tree.h"
#include "storage/sites_tree_model.h"
#include "tools/copy_site_value.h"
#include "tools/tools_texts.h"
#include "widgets/qt_text.h"
#include "widgets/sites_tree_widget.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

namespace kv {
namespace {

std::string WithoutTrailingSlash(std::string key)
{
    if (!key.empty() && key.back() == '/')
        key.pop_back();
    return key;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, const char* tooltip)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(tooltip);
    return button;
}

} // namespace

SitesFrame::SitesFrame(SitesAreaContext context, QWidget* parent)
    : QGroupBox("Sites", parent), context_(std::move(context)), search_(new QLineEdit(this)),
      tree_(new SitesTreeWidget(this))
{
    search_->setObjectName("txtSearch");
    search_->setPlaceholderText(QString::fromUtf8(kSearchPlaceholder.data(), kSearchPlaceholder.size()));
    search_->setClearButtonEnabled(true);
    connect(search_, &QLineEdit::textChanged, this, &SitesFrame::filterTree);
    connect(search_, &QLineEdit::returnPressed, this, &SitesFrame::txtSearch_Enter);
    setObjectName("fraSites");
    tree_->acceptLabel = [this](QTreeWidgetItem* item, const QString& text) {
        return acceptLabel(item, text);
    };
    buildMenus();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(search_);
    layout->addWidget(tree_, 1);
    if (context_.captureLog)
        layout->addWidget(new CaptureLogWidget(*context_.captureLog, this));
    buildButtons(layout);

    connect(tree_, &QTreeWidget::itemClicked, this, &SitesFrame::showVelotripMark);
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this] { TreeView1_DblClick(); });
    connect(tree_, &SitesTreeWidget::rightReleased, this,
            [this](QTreeWidgetItem* item) { showPopup(item, QCursor::pos()); });
    connect(tree_, &SitesTreeWidget::contextMenuKeyPressed, this, [this] {
        if (QTreeWidgetItem* item = tree_->currentItem())
            showPopup(item, tree_->viewport()->mapToGlobal(tree_->visualItemRect(item).center()));
    });
    connect(tree_, &SitesTreeWidget::deletePressed, this, [this] { onDeleteKey(); });
    connect(tree_, &SitesTreeWidget::dropped, this, &SitesFrame::dropNode);
}

void SitesFrame::buildMenus()
{
    const bool canLogin = context_.siteCommands != nullptr;
    filesMenu_ = new QMenu("Files", this);
    filesMenu_->setObjectName("mnuFiles");
    QAction* login = filesMenu_->addAction("Login", this, &SitesFrame::mnuLogin_Click);
    login->setObjectName("mnuLogin");
    login->setEnabled(canLogin);
    velotrip_ = filesMenu_->addAction("Velotrip");
    velotrip_->setObjectName("mnuVelotrip");
    velotrip_->setCheckable(true);
    velotrip_->setEnabled(canLogin);
    connect(velotrip_, &QAction::triggered, this, &SitesFrame::mnuVelotrip_Click);
    filesMenu_->addSeparator()->setObjectName("mnuDash1");
    filesMenu_->addAction("Details", this, &SitesFrame::mnuDetails_Click)->setObjectName("mnuDetails");
    if (context_.clipboard) {
        filesMenu_->addAction(ToQString(kCopyLoginCommand), this, &SitesFrame::mnuCopyLogin_Click)
            ->setObjectName("mnuCopyLogin");
        filesMenu_->addAction(ToQString(kCopyPasswordCommand), this, &SitesFrame::mnuCopyPassword_Click)
            ->setObjectName("mnuCopyPassword");
    }
    filesMenu_->addAction("Rename", this, &SitesFrame::mnuRenameFile_Click)->setObjectName("mnuRenameFile");
    filesMenu_->addAction("Delete", this, &SitesFrame::mnuDeleteFile_Click)->setObjectName("mnuDeleteFile");

    foldersMenu_ = new QMenu("Folders", this);
    foldersMenu_->setObjectName("mnuFolders");
    QAction* loginAll =
        foldersMenu_->addAction("Login to all sites in folder", this, &SitesFrame::mnuLoginAllSites_Click);
    loginAll->setObjectName("mnuLoginAllSites");
    loginAll->setEnabled(canLogin);
    QAction* dash = foldersMenu_->addSeparator();
    dash->setObjectName("mnuDash2");
    foldersMenu_->addAction("New Folder", this, &SitesFrame::mnuNewFolder_Click)
        ->setObjectName("mnuNewFolder");
    QAction* rename = foldersMenu_->addAction("Rename", this, &SitesFrame::mnuRenameFolder_Click);
    rename->setObjectName("mnuRenameFolder");
    QAction* remove = foldersMenu_->addAction("Delete", this, &SitesFrame::mnuDeleteFolder_Click);
    remove->setObjectName("mnuDeleteFolder");
    folderCommands_ = {loginAll, dash, rename, remove};
}

void SitesFrame::buildButtons(QLayout* layout)
{
    auto* addNew = MakeButton(this, "cmdAddNewSite", "Add New Site",
                              "Launch a new browser window to save new login information.");
    auto* goTo = MakeButton(this, "cmdGoToSite", "Go To Site",
                            "Launch a new browser window and navigate to target site.");
    auto* launchAndLogin = MakeButton(this, "cmd_LaunchAndLogin", "Launch and Login",
                                      "Launch a new browser window and login to target site.");
    goTo->setEnabled(context_.siteCommands != nullptr);
    launchAndLogin->setEnabled(context_.siteCommands != nullptr);
    auto* block = MakeButton(this, "cmdBlock", "Blocked Sites",
                             "Blocked sites that you don't want the application to remember.");
    nimbrase_ = new QCheckBox(QString::fromUtf8(kNimbraseCaption.data(), kNimbraseCaption.size()), this);
    nimbrase_->setObjectName("chkNimbrase");
    auto* note = new QLabel(QString::fromUtf8(kNimbraseNote.data(), kNimbraseNote.size()), this);
    note->setWordWrap(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(addNew);
    buttons->addWidget(goTo);
    buttons->addWidget(launchAndLogin);
    buttons->addWidget(block);
    auto* secure = new QHBoxLayout;
    secure->addWidget(nimbrase_);
    secure->addWidget(note, 1);
    static_cast<QBoxLayout*>(layout)->addLayout(buttons);
    static_cast<QBoxLayout*>(layout)->addLayout(secure);

    connect(addNew, &QPushButton::clicked, this, &SitesFrame::cmdAddNewSite_Click);
    connect(goTo, &QPushButton::clicked, this, &SitesFrame::cmdGoToSite_Click);
    connect(launchAndLogin, &QPushButton::clicked, this, &SitesFrame::cmd_LaunchAndLogin_Click);
    connect(block, &QPushButton::clicked, this, &SitesFrame::blockedSitesRequested);
    connect(nimbrase_, &QCheckBox::clicked, this, &SitesFrame::chkNimbrase_Click);
}

void SitesFrame::reloadTree()
{
    SitesTreeModel model;
    FillSitesTree(model, context_.profileDirectory);
    tree_->showModel(model);
    if (!search_->text().isEmpty())
        filterTree();
}

void SitesFrame::focusSearch()
{
    search_->setFocus(Qt::ShortcutFocusReason);
    search_->selectAll();
}

void SitesFrame::forgetDecrypted()
{
    search_->clear();
    searchCache_.forget();
}

void SitesFrame::filterTree()
{
    const std::string text = search_->text().toStdString();
    for (int i = 0; i < tree_->topLevelItemCount(); ++i)
        filterNode(tree_->topLevelItem(i), text);
}

bool SitesFrame::filterNode(QTreeWidgetItem* item, const std::string& text)
{
    if (isSite(item)) {
        const bool shown =
            searchCache_.matches(SiteEntryOf(context_.profileDirectory, SitesTreeWidget::key(item)), text);
        item->setHidden(!shown);
        return shown;
    }
    bool anyShown = false;
    for (int i = 0; i < item->childCount(); ++i)
        anyShown = filterNode(item->child(i), text) || anyShown;
    // The root stays, so that an empty result still shows where the sites would be.
    item->setHidden(!SitesTreeWidget::isRoot(item) && !text.empty() && !anyShown);
    if (!text.empty() && anyShown)
        item->setExpanded(true);
    return anyShown;
}

void SitesFrame::txtSearch_Enter()
{
    QTreeWidgetItem* current = tree_->currentItem();
    if (!current || current->isHidden() || !isSite(current)) {
        for (QTreeWidgetItemIterator it(tree_, QTreeWidgetItemIterator::NotHidden); *it; ++it) {
            if (isSite(*it)) {
                tree_->setCurrentItem(*it);
                break;
            }
        }
    }
    cmd_LaunchAndLogin_Click();
}

void SitesFrame::clearTree()
{
    tree_->clear();
}

void SitesFrame::setNimbrase(bool checked)
{
    nimbrase_->setChecked(checked);
    NimbraseLook look = NimbraseLookFor(checked);
    nimbrase_->setText(QString::fromStdString(look.caption));
    QFont font = nimbrase_->font();
    font.setBold(look.bold);
    nimbrase_->setFont(font);
}

void SitesFrame::chkNimbrase_Click(bool checked)
{
    ChooseNimbrase(context_.profileFile, checked);
    setNimbrase(checked);
}

QTreeWidgetItem* SitesFrame::selectedNode()
{
    QTreeWidgetItem* item = tree_->currentItem();
    if (!item)
        context_.dialogs.message(kSelectASite);
    return item;
}

bool SitesFrame::isSite(const QTreeWidgetItem* item) const
{
    return SitesTreeWidget::selectedImage(item) == kSiteImage;
}

// Rebuilds a folder's children from disk so that every key below carries its path.
void SitesFrame::repopulate(QTreeWidgetItem* folder)
{
    SitesTreeModel model;
    const std::string key = SitesTreeWidget::key(folder);
    model.add(std::nullopt, key, folder->text(0).toStdString(), folder->text(0).toStdString(), kFolderImage,
              kFolderImage);
    AddFolderNodes(WithoutTrailingSlash(key), model, true);
    tree_->showChildren(folder, model);
}

bool SitesFrame::acceptLabel(QTreeWidgetItem* item, const QString& text)
{
    const std::string name = text.toStdString();
    if (SitesTreeWidget::isRoot(item) || !CheckNodeName(name, context_.dialogs))
        return false;
    const std::string key = SitesTreeWidget::key(item);
    if (isSite(item)) {
        auto renamed = RenameSite(key, name, context_.dialogs);
        if (!renamed)
            return false;
        SitesTreeWidget::setKey(item, *renamed);
        item->setText(0, text);
        return true;
    }
    auto renamed = RenameFolder(key, name, context_.dialogs);
    if (!renamed)
        return false;
    SitesTreeWidget::setKey(item, *renamed);
    item->setText(0, text);
    repopulate(item);
    return true;
}

void SitesFrame::showPopup(QTreeWidgetItem* item, const QPoint& globalPosition)
{
    if (isSite(item)) {
        // The mark follows the site however the menu was reached, not the last left click.
        showVelotripMark(item);
        filesMenu_->popup(globalPosition);
        return;
    }
    const bool offered = FolderMenuOffersFolderCommands(SitesTreeWidget::isRoot(item));
    for (QAction* action : folderCommands_)
        action->setVisible(offered);
    foldersMenu_->popup(globalPosition);
}

void SitesFrame::showVelotripMark(QTreeWidgetItem* item)
{
    if (isSite(item))
        velotrip_->setChecked(IsVelotripSite(SitesTreeWidget::key(item)));
}

void SitesFrame::onDeleteKey()
{
    QTreeWidgetItem* item = tree_->currentItem();
    if (!item || SitesTreeWidget::isRoot(item))
        return;
    if (isSite(item))
        mnuDeleteFile_Click();
    else
        mnuDeleteFolder_Click();
}

void SitesFrame::mnuNewFolder_Click()
{
    QTreeWidgetItem* node = selectedNode();
    if (!node || isSite(node))
        return;
    auto created = CreateNewFolder(SitesTreeWidget::key(node));
    if (!created)
        return;
    const std::string name = std::filesystem::path(WithoutTrailingSlash(*created)).filename().string();
    tree_->addNode(node, *created, name, kFolderImage);
    node->setExpanded(true);
}

void SitesFrame::mnuRenameFolder_Click()
{
    QTreeWidgetItem* node = selectedNode();
    if (node && !isSite(node) && !SitesTreeWidget::isRoot(node))
        tree_->editItem(node, 0);
}

void SitesFrame::mnuRenameFile_Click()
{
    QTreeWidgetItem* node = selectedNode();
    if (node && isSite(node))
        tree_->editItem(node, 0);
}

void SitesFrame::mnuDeleteFolder_Click()
{
    QTreeWidgetItem* node = selectedNode();
    if (!node || isSite(node) || SitesTreeWidget::isRoot(node))
        return;
    if (DeleteFolder(SitesTreeWidget::key(node), node->text(0).toStdString(), context_.dialogs,
                     context_.trash))
        reloadTree();
}

void SitesFrame::mnuDeleteFile_Click()
{
    QTreeWidgetItem* node = selectedNode();
    if (!node || !isSite(node))
        return;
    if (DeleteSite(SitesTreeWidget::key(node), node->text(0).toStdString(), context_.dialogs, context_.trash))
        reloadTree();
}

void SitesFrame::mnuDetails_Click()
{
    QTreeWidgetItem* node = selectedNode();
    if (!node || !isSite(node))
        return;
    frmSiteDetails details(SitesTreeWidget::key(node), context_.dialogs, window());
    details.exec();
}

void SitesFrame::mnuCopyPassword_Click()
{
    copySiteValue(FORMPASSVALUE);
}

void SitesFrame::mnuCopyLogin_Click()
{
    copySiteValue(FORMLOGINVALUE);
}

void SitesFrame::copySiteValue(std::string_view key)
{
    QTreeWidgetItem* node = selectedNode();
    if (!node || !isSite(node) || !context_.clipboard)
        return;
    CopySiteValue(SitesTreeWidget::key(node), key, *context_.clipboard, context_.dialogs);
}

void SitesFrame::dropNode(QTreeWidgetItem* dragged, QTreeWidgetItem* target)
{
    if (!dragged || !target)
        return;
    if (isSite(target))
        target = target->parent();
    const bool folder = !isSite(dragged);
    MoveResult result =
        MoveSiteOrFolder(SitesTreeWidget::key(dragged), folder, dragged->text(0).toStdString(),
                         SitesTreeWidget::key(target), context_.dialogs);
    if (result.outcome != MoveOutcome::Moved)
        return;
    dragged->parent()->removeChild(dragged);
    target->addChild(dragged);
    SitesTreeWidget::setKey(dragged, result.key);
    if (folder)
        repopulate(dragged);
    tree_->setCurrentItem(dragged);
}

void SitesFrame::TreeView1_DblClick()
{
    QTreeWidgetItem* node = selectedNode();
    if (node && isSite(node))
        cmd_LaunchAndLogin_Click();
}

void SitesFrame::cmdAddNewSite_Click()
{
    frmWebsite website(context_.launcher, window());
    website.exec();
}

std::optional<SitesTreeNode> SitesFrame::selectedTreeNode() const
{
    QTreeWidgetItem* item = tree_->currentItem();
    if (!item)
        return std::nullopt;
    SitesTreeNode node;
    node.key = SitesTreeWidget::key(item);
    node.text = item->text(0).toStdString();
    node.tag = node.text;
    node.image = node.selectedImage = SitesTreeWidget::selectedImage(item);
    return node;
}

void SitesFrame::runSiteCommand(void (SiteCommands::*command)(const SitesTreeNode*))
{
    if (!context_.siteCommands)
        return;
    std::optional<SitesTreeNode> node = selectedTreeNode();
    (context_.siteCommands->*command)(node ? &*node : nullptr);
}

void SitesFrame::cmdGoToSite_Click()
{
    runSiteCommand(&SiteCommands::cmdGoToSite);
}

void SitesFrame::cmd_LaunchAndLogin_Click()
{
    runSiteCommand(&SiteCommands::cmd_LaunchAndLogin);
}

void SitesFrame::mnuLogin_Click()
{
    runSiteCommand(&SiteCommands::mnuLogin);
}

void SitesFrame::mnuLoginAllSites_Click()
{
    runSiteCommand(&SiteCommands::mnuLoginAllSites);
}

void SitesFrame::mnuVelotrip_Click()
{
    if (!context_.siteCommands)
        return;
    std::optional<SitesTreeNode> node = selectedTreeNode();
    // The action has already flipped its mark; the rules decide from the mark it had.
    velotrip_->setChecked(
        context_.siteCommands->mnuVelotrip(node ? &*node : nullptr, !velotrip_->isChecked()));
}

} // namespace kv
