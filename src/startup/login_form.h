#pragma once
// frmLoginSB and frmLoginWIN: a login and a password, checked by their logic.
#include "startup/login_dialog.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace kv {

class LoginForm : public QDialog {
    Q_OBJECT
public:
    explicit LoginForm(LoginDialog& logic, QWidget* parent = nullptr);

    QLineEdit* Text1() const { return login_; }
    QLineEdit* Text2() const { return password_; }
    QPushButton* cmdYes() const { return yes_; }
    QPushButton* cmdNo() const { return no_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void cmdYes_Click();

    LoginDialog& logic_;
    QLineEdit* login_;
    QLineEdit* password_;
    QPushButton* yes_;
    QPushButton* no_;
};

} // namespace kv
