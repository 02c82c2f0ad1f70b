#include "mainwindow/site_details_form.h"

#include "mainwindow/property_grid_widget.h"
#include "mainwindow/site_details.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv {

frmSiteDetails::frmSiteDetails(std::filesystem::path sitePath, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), sitePath_(std::move(sitePath)), dialogs_(dialogs), grid_(new PropertyGrid(this)),
      save_(new QPushButton(QString::fromUtf8(kSaveChangesCaption.data(), kSaveChangesCaption.size()), this)),
      saved_(new QLabel(QString::fromUtf8(kSiteSavedCaption.data(), kSiteSavedCaption.size()), this))
{
    setObjectName("frmSiteDetails");
    setWindowTitle(QString::fromUtf8(kSiteDetailsCaption.data(), kSiteDetailsCaption.size()));
    grid_->setObjectName("wndPropertyGrid");
    save_->setObjectName("cmdSaveOptions");
    saved_->setObjectName("lblOptionsSaved");
    saved_->hide();

    grid_->setCategory(QString::fromUtf8(kSiteDetailsCategory.data(), kSiteDetailsCategory.size()));
    for (const PropertyItem& item : LoadSiteDetails(sitePath_))
        grid_->addItem(QString::fromStdString(item.caption), QString::fromStdString(item.value),
                       item.readOnly);
    grid_->expandCategory();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(saved_);
    buttons->addStretch();
    buttons->addWidget(save_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_);
    layout->addLayout(buttons);
    resize(460, 360);
    connect(save_, &QPushButton::clicked, this, &frmSiteDetails::cmdSaveOptions_Click);
}

void frmSiteDetails::cmdSaveOptions_Click()
{
    std::vector<PropertyItem> items;
    for (int i = 0; i < grid_->itemCount(); ++i)
        items.push_back(
            {grid_->caption(i).toStdString(), grid_->value(i).toStdString(), grid_->isReadOnly(i)});
    saved_->setVisible(SaveSiteDetails(sitePath_, items, dialogs_));
}

} // namespace kv
