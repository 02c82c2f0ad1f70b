#include "startup/login_form.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv {

LoginForm::LoginForm(LoginDialog& logic, QWidget* parent)
    : QDialog(parent), logic_(logic),
      login_(new QLineEdit(QString::fromStdString(logic.initialLogin()), this)),
      password_(new QLineEdit(this)), yes_(new QPushButton("Login", this)),
      no_(new QPushButton("Cancel", this))
{
    setObjectName(logic.focusOnPassword() ? "frmLoginWIN" : "frmLoginSB");
    const std::string_view caption = logic.caption();
    setWindowTitle(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
    login_->setObjectName("Text1");
    password_->setObjectName("Text2");
    password_->setEchoMode(QLineEdit::Password);
    yes_->setObjectName("cmdYes");
    yes_->setDefault(true);
    no_->setObjectName("cmdNo");

    auto* fields = new QFormLayout;
    fields->addRow("Login:", login_);
    fields->addRow("Pass:", password_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(yes_);
    buttons->addWidget(no_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    setMinimumWidth(340);

    connect(yes_, &QPushButton::clicked, this, &LoginForm::cmdYes_Click);
    connect(no_, &QPushButton::clicked, this, [this] {
        logic_.cmdNo_Click();
        reject();
    });
}

void LoginForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    (logic_.focusOnPassword() ? password_ : login_)->setFocus();
}

void LoginForm::cmdYes_Click()
{
    switch (logic_.cmdYes_Click(login_->text().toStdString(), password_->text().toStdString())) {
    case LoginVerdict::Passed:
        accept();
        break;
    case LoginVerdict::ClearPassword:
        password_->clear();
        break;
    case LoginVerdict::Stay:
        break;
    }
}

} // namespace kv
