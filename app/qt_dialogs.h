#pragma once
// The Dialogs shown to the user: Qt message boxes, input boxes and the folder chooser,
// owned by the window given as parent.
#include "support/dialogs.h"

#include <QPointer>
#include <QString>
#include <QWidget>

namespace kv {

class QtDialogs : public Dialogs {
public:
    // dataDirectory: where the skins are, for the login dialogs that apply the profile's skin.
    QtDialogs(QString applicationTitle, std::filesystem::path dataDirectory, QWidget* parent = nullptr);

    void setParent(QWidget* parent) { parent_ = parent; }

    void message(std::string_view text, std::string_view title = {}, Icon icon = Icon::None) override;
    Answer ask(std::string_view text, Buttons buttons, Icon icon, std::string_view title = {}) override;
    std::optional<std::string> input(std::string_view prompt, std::string_view title = {},
                                     std::string_view initial = {}) override;
    std::optional<std::filesystem::path> chooseFolder(std::string_view title,
                                                      const std::filesystem::path& start) override;
    void showWizard(FirstRunWizard& wizard) override;
    void showLogin(LoginDialog& dialog) override;
    void showCreateLogin(CreateLoginDialog& dialog) override;
    void showSaveSite(SaveSiteDialog& dialog) override;

private:
    QString titleOr(std::string_view title) const;

    QString applicationTitle_;
    std::filesystem::path dataDirectory_;
    QPointer<QWidget> parent_;
};

} // namespace kv
