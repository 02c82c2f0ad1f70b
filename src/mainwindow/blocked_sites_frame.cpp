#include "mainwindow/blocked_sites_frame.h"

#include "browser/blocked_sites_texts.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kv {
namespace {
constexpr int kEntryRole = Qt::UserRole + 1;
}

BlockedSitesFrame::BlockedSitesFrame(const std::filesystem::path& profileFile, Dialogs& dialogs,
                                     QWidget* parent)
    : QGroupBox("Blocked Sites", parent), blocked_(profileFile), dialogs_(dialogs),
      list_(new QTreeWidget(this))
{
    setObjectName("fraBlock");
    auto* label = new QLabel(QString::fromUtf8(kBlockedListLabel.data(), kBlockedListLabel.size()), this);
    label->setObjectName("Label28");
    list_->setObjectName("ListView2");
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels({QString::fromUtf8(kBlockedListColumn.data(), kBlockedListColumn.size())});
    list_->setColumnWidth(0, kBlockedListColumnTwips * logicalDpiX() / 1440);
    auto* back = new QPushButton("Go back", this);
    back->setObjectName("cmdGoBackToSites");
    auto* removeAll = new QPushButton("Remove All", this);
    removeAll->setObjectName("cmdRemoveAllURL");
    auto* removeOne = new QPushButton("Remove", this);
    removeOne->setObjectName("cmdRemoveSingleURL");

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addStretch();
    buttons->addWidget(removeOne);
    buttons->addWidget(removeAll);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(list_);
    layout->addLayout(buttons);

    connect(back, &QPushButton::clicked, this, &BlockedSitesFrame::goBackToSites);
    connect(removeAll, &QPushButton::clicked, this, &BlockedSitesFrame::cmdRemoveAllURL_Click);
    connect(removeOne, &QPushButton::clicked, this, &BlockedSitesFrame::cmdRemoveSingleURL_Click);
}

void BlockedSitesFrame::RefreshBlockedList()
{
    list_->clear();
    for (const BlockedEntry& entry : blocked_.listItems()) {
        auto* item = new QTreeWidgetItem(list_, {QString::fromStdString(entry.url)});
        item->setData(0, kEntryRole, entry.number);
    }
}

void BlockedSitesFrame::cmdRemoveAllURL_Click()
{
    blocked_.removeAll(dialogs_);
    RefreshBlockedList();
}

void BlockedSitesFrame::cmdRemoveSingleURL_Click()
{
    QTreeWidgetItem* item = list_->currentItem();
    if (!item)
        return;
    blocked_.remove(item->data(0, kEntryRole).toInt());
    RefreshBlockedList();
}

} // namespace kv
