#include "mainwindow/proxy_frame.h"

#include "update/update_texts.h"
#include "widgets/qt_text.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kv {
ProxyFrame::ProxyFrame(ProxySetup& proxy, QWidget* parent)
    : QGroupBox("Proxy", parent), proxy_(proxy),
      addressLabel_(new QLabel(ToQString(kProxyAddressLabel), this)), address_(new QLineEdit(this)),
      portLabel_(new QLabel(ToQString(kProxyPortLabel), this)), port_(new QLineEdit(this)),
      ok_(new QPushButton(ToQString(kProxyOkButton), this)),
      cancel_(new QPushButton(ToQString(kProxyCancelButton), this))
{
    setObjectName("fraProxy");
    address_->setObjectName("txt_ProxyAddress");
    port_->setObjectName("txt_ProxyPort");
    ok_->setObjectName("cmdProxyOK");
    cancel_->setObjectName("cmdProxyCancel");
    group_ = new QButtonGroup(this);
    const std::string_view captions[] = {kProxySystemCaption, kProxyDirectCaption, kProxyManualCaption};
    auto* layout = new QVBoxLayout(this);
    for (int index = 0; index < 3; ++index) {
        options_[index] = new QRadioButton(ToQString(captions[index]), this);
        options_[index]->setObjectName(QString("opt_Proxy_%1").arg(index));
        group_->addButton(options_[index], index);
        layout->addWidget(options_[index]);
        connect(options_[index], &QRadioButton::clicked, this, [this, index] { opt_Proxy_Click(index); });
    }
    auto* fields = new QGridLayout;
    fields->addWidget(addressLabel_, 0, 0);
    fields->addWidget(address_, 0, 1);
    fields->addWidget(portLabel_, 1, 0);
    fields->addWidget(port_, 1, 1);
    fields->setColumnStretch(2, 1);
    layout->addLayout(fields);
    layout->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons);

    connect(ok_, &QPushButton::clicked, this, &ProxyFrame::cmdProxyOK_Click);
    connect(cancel_, &QPushButton::clicked, this, &QWidget::hide);
}

void ProxyFrame::cmd_ProxySetup_Click()
{
    address_->clear();
    port_->clear();
    const ProxyForm form = proxy_.cmd_ProxySetup_Click();
    // A stored value that names no option leaves every option clear.
    group_->setExclusive(false);
    for (QRadioButton* option : options_)
        option->setChecked(false);
    group_->setExclusive(true);
    if (form.option >= 0 && form.option < 3)
        options_[form.option]->setChecked(true);
    address_->setText(QString::fromStdString(form.address));
    port_->setText(QString::fromStdString(form.port));
    opt_Proxy_Click(form.option);
}

void ProxyFrame::opt_Proxy_Click(int index)
{
    const bool manual = index == kProxyManual;
    for (QWidget* field : {static_cast<QWidget*>(addressLabel_), static_cast<QWidget*>(address_),
                           static_cast<QWidget*>(portLabel_), static_cast<QWidget*>(port_)})
        field->setVisible(manual);
}

void ProxyFrame::cmdProxyOK_Click()
{
    proxy_.cmdProxyOK_Click(
        {group_->checkedId(), address_->text().toStdString(), port_->text().toStdString()});
    hide();
}

} // namespace kv
