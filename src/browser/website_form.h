#pragma once
// frmWebsite: asks for an address and opens it in the browser, where the capture then
// offers to save the login.
#include "browser/url_launcher.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace kv {

inline constexpr std::string_view kWebsiteCaption = "Enter web site address";
inline constexpr std::string_view kWebsitePreset = "http://www.";

class frmWebsite : public QDialog {
    Q_OBJECT
public:
    frmWebsite(UrlLauncher& launcher, QWidget* parent = nullptr);

    QLineEdit* Text1() const { return text_; }
    QPushButton* Command1() const { return go_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Command1_Click();

    UrlLauncher& launcher_;
    QLineEdit* text_;
    QPushButton* go_;
};

} // namespace kv
