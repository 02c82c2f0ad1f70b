#pragma once
// fraProxy: the proxy dialog beside the shortcut bar. Shows the stored choice, forwards OK
// to the proxy rules and hides itself.
#include "update/proxy_setup.h"

#include <QGroupBox>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kv {

class ProxyFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit ProxyFrame(ProxySetup& proxy, QWidget* parent = nullptr);

    // Fills the dialog from the stored choice; the caller shows it.
    void cmd_ProxySetup_Click();

    QRadioButton* opt_Proxy(int index) const { return options_[index]; }
    QLineEdit* txt_ProxyAddress() const { return address_; }
    QLineEdit* txt_ProxyPort() const { return port_; }
    QPushButton* cmdProxyOK() const { return ok_; }
    QPushButton* cmdProxyCancel() const { return cancel_; }

private:
    void opt_Proxy_Click(int index);
    void cmdProxyOK_Click();

    ProxySetup& proxy_;
    QButtonGroup* group_;
    QRadioButton* options_[3];
    QLabel* addressLabel_;
    QLineEdit* address_;
    QLabel* portLabel_;
    QLineEdit* port_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

} // namespace kv
