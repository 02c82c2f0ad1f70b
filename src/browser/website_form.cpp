#include "browser/website_form.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace kv {

frmWebsite::frmWebsite(UrlLauncher& launcher, QWidget* parent)
    : QDialog(parent), launcher_(launcher),
      text_(new QLineEdit(QString::fromUtf8(kWebsitePreset.data(), kWebsitePreset.size()), this)),
      go_(new QPushButton("Go!", this))
{
    setObjectName("frmWebsite");
    setWindowTitle(QString::fromUtf8(kWebsiteCaption.data(), kWebsiteCaption.size()));
    text_->setObjectName("Text1");
    text_->setMinimumWidth(320);
    go_->setObjectName("Command1");
    go_->setDefault(true);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(go_);
    connect(go_, &QPushButton::clicked, this, &frmWebsite::Command1_Click);
}

void frmWebsite::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    text_->setFocus();
    text_->end(false);
}

void frmWebsite::Command1_Click()
{
    launcher_.LaunchBrowser(text_->text().toStdString());
    accept();
}

} // namespace kv
