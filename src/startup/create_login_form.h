#pragma once
// frmCreateLogin: the program's own login and password, typed twice.
#include "startup/create_login_dialog.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace kv {

class frmCreateLogin : public QDialog {
    Q_OBJECT
public:
    explicit frmCreateLogin(CreateLoginDialog& logic, QWidget* parent = nullptr);

    QLineEdit* txtLogin() const { return login_; }
    QLineEdit* txtPass() const { return pass_; }
    QLineEdit* txtPass1() const { return pass1_; }
    QPushButton* cmdOK() const { return ok_; }

private:
    void cmdOK_Click();

    CreateLoginDialog& logic_;
    QLineEdit* login_;
    QLineEdit* pass_;
    QLineEdit* pass1_;
    QPushButton* ok_;
};

} // namespace kv
