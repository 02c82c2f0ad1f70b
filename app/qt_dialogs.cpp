#include "app/qt_dialogs.h"

#include "browser/save_site_form.h"
#include "mainwindow/qt_skin.h"
#include "mainwindow/skin_table.h"
#include "startup/create_login_form.h"
#include "startup/login_form.h"
#include "startup/profile.h"
#include "startup/wizard_form.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace kv {
namespace {

QString ToQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QMessageBox::Icon ToQtIcon(Icon icon)
{
    switch (icon) {
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Exclamation:
        return QMessageBox::Warning;
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

struct ButtonSet {
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton;
};

// The first button is the default, except that OK/Cancel defaults to the harmless Cancel.
ButtonSet ToQtButtons(Buttons buttons)
{
    switch (buttons) {
    case Buttons::OK:
        return {QMessageBox::Ok, QMessageBox::Ok};
    case Buttons::OKCancel:
        return {QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel};
    case Buttons::YesNo:
        return {QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes};
    case Buttons::YesNoCancel:
        return {QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes};
    }
    return {QMessageBox::Ok, QMessageBox::Ok};
}

Dialogs::Answer FromQtButton(int button)
{
    switch (button) {
    case QMessageBox::Ok:
        return Dialogs::Answer::OK;
    case QMessageBox::Yes:
        return Dialogs::Answer::Yes;
    case QMessageBox::No:
        return Dialogs::Answer::No;
    default:
        return Dialogs::Answer::Cancel;
    }
}

} // namespace

QtDialogs::QtDialogs(QString applicationTitle, std::filesystem::path dataDirectory, QWidget* parent)
    : applicationTitle_(std::move(applicationTitle)), dataDirectory_(std::move(dataDirectory)),
      parent_(parent)
{
}

QString QtDialogs::titleOr(std::string_view title) const
{
    return title.empty() ? applicationTitle_ : ToQString(title);
}

void QtDialogs::message(std::string_view text, std::string_view title, Icon icon)
{
    QMessageBox box(ToQtIcon(icon), titleOr(title), ToQString(text), QMessageBox::Ok, parent_);
    box.exec();
}

Dialogs::Answer QtDialogs::ask(std::string_view text, Buttons buttons, Icon icon, std::string_view title)
{
    ButtonSet set = ToQtButtons(buttons);
    QMessageBox box(ToQtIcon(icon), titleOr(title), ToQString(text), set.buttons, parent_);
    box.setDefaultButton(set.defaultButton);
    return FromQtButton(box.exec());
}

std::optional<std::string> QtDialogs::input(std::string_view prompt, std::string_view title,
                                            std::string_view initial)
{
    bool accepted = false;
    QString text = QInputDialog::getText(parent_, titleOr(title), ToQString(prompt), QLineEdit::Normal,
                                         ToQString(initial), &accepted);
    if (!accepted)
        return std::nullopt;
    return text.toStdString();
}

std::optional<std::filesystem::path> QtDialogs::chooseFolder(std::string_view title,
                                                             const std::filesystem::path& start)
{
    QString folder =
        QFileDialog::getExistingDirectory(parent_, ToQString(title), QString::fromStdString(start));
    if (folder.isEmpty())
        return std::nullopt;
    return std::filesystem::path(folder.toStdString());
}

void QtDialogs::showWizard(FirstRunWizard& wizard)
{
    // There is no profile yet: the wizard wears the first skin.
    if (auto skin = SkinForIndex(0, dataDirectory_, {}))
        ApplySkin(*skin);
    frmWizard form(wizard, parent_);
    form.exec();
}

void QtDialogs::showLogin(LoginDialog& dialog)
{
    if (auto skin = ProfileSkin(ProfileFile(), dataDirectory_))
        ApplySkin(*skin);
    LoginForm form(dialog, parent_);
    form.exec();
}

void QtDialogs::showCreateLogin(CreateLoginDialog& dialog)
{
    frmCreateLogin form(dialog, parent_);
    form.exec();
}

void QtDialogs::showSaveSite(SaveSiteDialog& dialog)
{
    frmYes form(dialog, parent_);
    form.exec();
}

} // namespace kv
