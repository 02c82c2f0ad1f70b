#include "app/qt_dialogs.h"

#include "browser/save_site_form.h"
#include "mainwindow/qt_skin.h"
#include "mainwindow/skin_table.h"
#include "startup/create_login_form.h"
#include "startup/login_form.h"
#include "startup/profile.h"
#include "startup/wizard_form.h"

#include <QBoxLayout>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGridLayout>
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

// Besides its text, a title bar holds the window's icon and buttons; a box narrower than all
// of them gets its title cut by the window manager.
constexpr int kTitleBarDecorations = 160;

int WidthForTitle(const QString& title)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    font.setBold(true); // the usual title bar face, and the wider one
    return QFontMetrics(font).horizontalAdvance(title) + kTitleBarDecorations;
}

// Message and input boxes fix their own size from their contents; a spacer across their
// layout makes the title part of them.
void FitTitle(QDialog& box)
{
    auto* spacer = new QSpacerItem(WidthForTitle(box.windowTitle()), 0);
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(spacer, grid->rowCount(), 0, 1, grid->columnCount());
    else if (auto* column = qobject_cast<QBoxLayout*>(box.layout()))
        column->addItem(spacer);
    else
        delete spacer;
}

struct ButtonSet {
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton;
};

// The first button is the default, except where the harmless answer is asked for.
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
    case Buttons::YesNoDefaultNo:
        return {QMessageBox::Yes | QMessageBox::No, QMessageBox::No};
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
    FitTitle(box);
    box.exec();
}

Dialogs::Answer QtDialogs::ask(std::string_view text, Buttons buttons, Icon icon, std::string_view title)
{
    ButtonSet set = ToQtButtons(buttons);
    QMessageBox box(ToQtIcon(icon), titleOr(title), ToQString(text), set.buttons, parent_);
    box.setDefaultButton(set.defaultButton);
    FitTitle(box);
    return FromQtButton(box.exec());
}

std::optional<std::string> QtDialogs::input(std::string_view prompt, std::string_view title,
                                            std::string_view initial)
{
    QInputDialog box(parent_);
    box.setWindowTitle(titleOr(title));
    box.setLabelText(ToQString(prompt));
    box.setTextValue(ToQString(initial));
    box.adjustSize(); // an input box builds its layout only when it is first measured
    FitTitle(box);
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.textValue().toStdString();
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
