#include "startup/create_login_form.h"

#include "startup/startup_texts.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv {

frmCreateLogin::frmCreateLogin(CreateLoginDialog& logic, QWidget* parent)
    : QDialog(parent), logic_(logic), login_(new QLineEdit(this)), pass_(new QLineEdit(this)),
      pass1_(new QLineEdit(this)), ok_(new QPushButton("OK", this))
{
    setObjectName("frmCreateLogin");
    setWindowTitle(QString::fromUtf8(kCreateLoginCaption.data(), kCreateLoginCaption.size()));
    login_->setObjectName("txtLogin");
    pass_->setObjectName("txtPass");
    pass1_->setObjectName("txtPass1");
    pass_->setEchoMode(QLineEdit::Password);
    pass1_->setEchoMode(QLineEdit::Password);
    ok_->setObjectName("cmdOK");
    ok_->setDefault(true);
    auto* cancel = new QPushButton("&Cancel", this);
    cancel->setObjectName("cmdCancel");

    auto* fields = new QFormLayout;
    fields->addRow("Login", login_);
    fields->addRow("Pass", pass_);
    fields->addRow("Confirm pass", pass1_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Enter your login and password", this));
    layout->addLayout(fields);
    layout->addLayout(buttons);

    connect(ok_, &QPushButton::clicked, this, &frmCreateLogin::cmdOK_Click);
    // Cancel only closes; the logic's outputs then stay empty.
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmCreateLogin::cmdOK_Click()
{
    if (logic_.cmdOK_Click(login_->text().toStdString(), pass_->text().toStdString(),
                           pass1_->text().toStdString()))
        accept();
}

} // namespace kv
