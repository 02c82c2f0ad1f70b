#pragma once
// fraTools: the password generator. Clicking a generated password copies it.
#include "support/dialogs.h"
#include "tools/secret_clipboard.h"

#include <QGroupBox>

class QButtonGroup;
class QLineEdit;
class QListWidget;
class QSpinBox;

namespace kv {

class ToolsFrame : public QGroupBox {
    Q_OBJECT
public:
    ToolsFrame(Dialogs& dialogs, SecretClipboard& clipboard, QWidget* parent = nullptr);

    // Checks option button index of OptGen.
    void selectOption(int index);
    void cmdGeneratePassword_Click();

    QButtonGroup* OptGen() const { return options_; }
    QSpinBox* SpinFx1() const { return length_; }
    QLineEdit* Text1() const { return count_; }
    QListWidget* lstPasswords() const { return passwords_; }

private:
    void lstPasswords_Click();

    Dialogs& dialogs_;
    SecretClipboard& clipboard_;
    QButtonGroup* options_;
    QSpinBox* length_;
    QLineEdit* count_;
    QListWidget* passwords_;
};

} // namespace kv
