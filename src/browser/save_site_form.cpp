#include "browser/save_site_form.h"

#include "browser/capture_texts.h"
#include "widgets/sites_tree_widget.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QValidator>
#include <algorithm>

namespace kv {
namespace {

QString qs(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString NameCharactersOf(const QString& text)
{
    return QString::fromStdString(SaveSiteDialog::nameCharactersOf(text.toStdString()));
}

// A key that types text, as opposed to an editing key: Ctrl+A/C/V/X/Z and the like carry
// control characters (or a Ctrl modifier) and keep their usual meaning.
bool TypesText(const QKeyEvent& key)
{
    const QString text = key.text();
    return !text.isEmpty() && !(key.modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); });
}

// Pasted or dropped text keeps its name characters; the rest is left out.
class FriendlyNameValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override
    {
        const QString kept = NameCharactersOf(input);
        if (kept != input) {
            position = static_cast<int>(NameCharactersOf(input.left(position)).size());
            input = kept;
        }
        return Acceptable;
    }
};

} // namespace

frmYes::frmYes(SaveSiteDialog& logic, QWidget* parent)
    : QDialog(parent), logic_(logic), txtFriendlyName_(new QLineEdit(this)), tree_(new SitesTreeWidget(this)),
      cmdSave_(new QPushButton(qs("Save"), this)), cmdCancel_(new QPushButton(qs("Cancel"), this)),
      mnuFolders_(new QMenu(qs("Folders"), this))
{
    setObjectName("frmYes");
    setWindowTitle(qs(kSaveSiteCaption));
    txtFriendlyName_->setObjectName("txtFriendlyName");
    txtFriendlyName_->setValidator(new FriendlyNameValidator(txtFriendlyName_));
    txtFriendlyName_->installEventFilter(this);
    txtFriendlyName_->setText(QString::fromStdString(logic_.initialName()));
    tree_->setDragEnabled(false);
    tree_->setAcceptDrops(false);
    tree_->setDragDropMode(QAbstractItemView::NoDragDrop);
    cmdSave_->setObjectName("cmdSave");
    cmdSave_->setDefault(true);
    cmdCancel_->setObjectName("cmdCancel");

    mnuFolders_->setObjectName("mnuFolders");
    mnuNewFolder_ = mnuFolders_->addAction(qs("New Folder"), this, &frmYes::mnuNewFolder_Click);
    mnuNewFolder_->setObjectName("mnuNewFolder");
    mnuRenameFolder_ = mnuFolders_->addAction(qs("Rename"), this, &frmYes::mnuRenameFolder_Click);
    mnuRenameFolder_->setObjectName("mnuRenameFolder");
    mnuDeleteFolder_ = mnuFolders_->addAction(qs("Delete"), this, &frmYes::mnuDeleteFolder_Click);
    mnuDeleteFolder_->setObjectName("mnuDeleteFolder");

    auto* layout = new QGridLayout(this);
    auto* label2 = new QLabel(qs(kFriendlyNameLabel), this);
    label2->setObjectName("Label2");
    auto* label3 = new QLabel(qs(kCategoryLabel), this);
    label3->setObjectName("Label3");
    layout->addWidget(label2, 0, 0);
    layout->addWidget(txtFriendlyName_, 1, 0);
    layout->addWidget(label3, 2, 0);
    layout->addWidget(tree_, 3, 0);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSave_);
    buttons->addWidget(cmdCancel_);
    layout->addLayout(buttons, 4, 0);

    tree_->acceptLabel = [this](QTreeWidgetItem* item, const QString& text) {
        const SitesTreeNode* node = model_.find(SitesTreeWidget::key(item));
        if (!node || !logic_.renameFolder(*node, text.toStdString()))
            return false;
        // Every key below the folder changed: rebuild once the edit has closed.
        QTimer::singleShot(0, this, &frmYes::loadTree);
        return true;
    };
    connect(tree_, &SitesTreeWidget::rightReleased, this, &frmYes::TreeView1_RightReleased);
    connect(cmdSave_, &QPushButton::clicked, this, &frmYes::cmdSave_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
    loadTree();
}

bool frmYes::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtFriendlyName_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (TypesText(*key) && NameCharactersOf(key->text()) != key->text()) {
            QApplication::beep();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmYes::loadTree()
{
    logic_.loadFolders(model_);
    tree_->showModel(model_);
}

const SitesTreeNode* frmYes::selectedNode() const
{
    QTreeWidgetItem* item = tree_->currentItem();
    return item ? model_.find(SitesTreeWidget::key(item)) : nullptr;
}

bool frmYes::selectKey(const std::string& key)
{
    QTreeWidgetItem* item = tree_->findKey(key);
    if (item)
        tree_->setCurrentItem(item);
    return item != nullptr;
}

void frmYes::cmdSave_Click()
{
    if (logic_.cmdSave(txtFriendlyName_->text().toStdString(), selectedNode()))
        accept();
}

void frmYes::TreeView1_RightReleased(QTreeWidgetItem* item)
{
    const SitesTreeNode* node = model_.find(SitesTreeWidget::key(item));
    if (!node || node->selectedImage != kFolderImage)
        return;
    const bool folderCommands = logic_.offersRenameAndDelete(*node);
    mnuRenameFolder_->setVisible(folderCommands);
    mnuDeleteFolder_->setVisible(folderCommands);
    mnuFolders_->popup(QCursor::pos());
}

void frmYes::mnuNewFolder_Click()
{
    const auto created = logic_.mnuNewFolder(selectedNode());
    if (!created)
        return;
    loadTree();
    selectKey(*created);
    if (QTreeWidgetItem* item = tree_->currentItem(); item && item->parent())
        item->parent()->setExpanded(true);
}

void frmYes::mnuRenameFolder_Click()
{
    if (logic_.mnuRenameFolder(selectedNode()))
        tree_->editItem(tree_->currentItem());
}

void frmYes::mnuDeleteFolder_Click()
{
    if (logic_.mnuDeleteFolder(selectedNode()))
        loadTree();
}

} // namespace kv
