#include "mainwindow/options_frame.h"

#include "mainwindow/lock_settings.h"
#include "mainwindow/option_tabs_widget.h"
#include "mainwindow/options_texts.h"
#include "widgets/qt_text.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

namespace kv {
namespace {

QCheckBox* MakeCheckBox(QWidget* parent, const char* name, std::string_view caption,
                        std::string_view tip = {})
{
    auto* box = new QCheckBox(ToQString(caption), parent);
    box->setObjectName(name);
    if (!tip.empty())
        box->setToolTip(ToQString(tip));
    return box;
}

QPushButton* MakeButton(QWidget* parent, const char* name, std::string_view caption)
{
    auto* button = new QPushButton(ToQString(caption), parent);
    button->setObjectName(name);
    return button;
}

QLineEdit* MakeLineEdit(QWidget* parent, const char* name, bool secret = false)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    if (secret)
        edit->setEchoMode(QLineEdit::Password);
    return edit;
}

// A button group whose buttons may all be cleared, as an option array with nothing chosen.
void CheckOnly(QButtonGroup* group, int id)
{
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons())
        button->setChecked(group->id(button) == id);
    group->setExclusive(true);
}

void ShowName(QComboBox* box, const std::string& name)
{
    box->setCurrentIndex(box->findText(QString::fromStdString(name)));
}

std::string ShownName(const QComboBox* box)
{
    return box->currentIndex() < 0 ? std::string() : box->currentText().toStdString();
}

// A tab's page scrolls when the window is lower than it, so that the tallest tab does not set
// the whole window's minimum height.
QScrollArea* Scrolled(QWidget* page)
{
    auto* area = new QScrollArea;
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(page);
    return area;
}

} // namespace

OptionsFrame::OptionsFrame(OptionsPanel& panel, const HotkeyNameLists& names, QWidget* parent)
    : QGroupBox("Options", parent), panel_(panel), tabs_(new OptionTabs(this))
{
    setObjectName("fraOptions");
    tabs_->setObjectName("SSTab2");
    tabs_->addTab(Scrolled(buildLogin()), ToQString(kOptionTabCaptions[0]));
    tabs_->addTab(Scrolled(buildAdvanced(names)), ToQString(kOptionTabCaptions[1]));
    tabs_->addTab(Scrolled(buildBrowser()), ToQString(kOptionTabCaptions[2]));
    tabs_->addTab(Scrolled(buildSkins()), ToQString(kOptionTabCaptions[3]));
    connect(tabs_, &OptionTabs::tabClicked, this, [this](int) { SSTab2_Click(); });

    save_ = MakeButton(this, "cmdSaveOptions", kSaveOptionsCaption);
    saved_ = new QLabel(ToQString(kOptionsSavedCaption), this);
    saved_->setObjectName("lblOptionsSaved");
    saved_->hide();
    connect(save_, &QPushButton::clicked, this, &OptionsFrame::cmdSaveOptions_Click);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(saved_);
    bottom->addStretch();
    bottom->addWidget(save_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 1);
    layout->addLayout(bottom);
}

QWidget* OptionsFrame::buildLogin()
{
    auto* page = new QWidget;
    secure_ = MakeCheckBox(page, "chkSecure", kSecureCaption);
    connect(secure_, &QCheckBox::clicked, this,
            [this] { forward([this](OptionsState& s) { panel_.chkSecure_Click(s); }); });

    auto* frame3 = new QGroupBox(ToQString(kAuthenticationMethodCaption), page);
    frame3->setObjectName("Frame3");
    // As a cleared chkSecure leaves them, until the load says otherwise.
    frame3->setEnabled(false);
    frame3_ = frame3;
    method_ = new QButtonGroup(frame3);
    auto* methods = new QVBoxLayout(frame3);
    for (int index = 0; index < static_cast<int>(kLoginMethodCaptions.size()); ++index) {
        auto* option =
            new QRadioButton(ToQString(kLoginMethodCaptions[static_cast<std::size_t>(index)]), frame3);
        option->setObjectName(QString("Option2_%1").arg(index));
        method_->addButton(option, index);
        methods->addWidget(option);
    }
    connect(method_, &QButtonGroup::idClicked, this,
            [this](int id) { forward([this, id](OptionsState& s) { panel_.Option2_Click(s, id); }); });

    auto* fraSecure = new QGroupBox(ToQString(kLoginAccountCaption), page);
    fraSecure->setObjectName("fraSecure");
    fraSecure->setEnabled(false);
    fraSecure_ = fraSecure;
    login_ = MakeLineEdit(fraSecure, "txtLogin");
    pass_ = MakeLineEdit(fraSecure, "txtPass", true);
    pass1_ = MakeLineEdit(fraSecure, "txtPass1", true);
    auto* account = new QFormLayout(fraSecure);
    account->addRow(ToQString(kLoginLabel), login_);
    account->addRow(ToQString(kPassLabel), pass_);
    account->addRow(ToQString(kConfirmPassLabel), pass1_);

    loginCount_ = MakeLineEdit(page, "txtloginnum");
    loginCount_->setMaxLength(1);
    loginCount_->setFixedWidth(loginCount_->fontMetrics().horizontalAdvance("0000"));
    auto* label22 = new QHBoxLayout;
    label22->addWidget(new QLabel(ToQString(kLoginAttemptsBefore), page));
    label22->addWidget(loginCount_);
    label22->addWidget(new QLabel(ToQString(kLoginAttemptsAfter), page));
    label22->addStretch();

    lockIdle_ = new QSpinBox(page);
    lockIdle_->setObjectName("spnLockIdleMinutes");
    lockIdle_->setRange(0, kMaxLockIdleMinutes);
    auto* lockIdle = new QHBoxLayout;
    lockIdle->addWidget(new QLabel(ToQString(kLockIdleCaption), page));
    lockIdle->addWidget(lockIdle_);
    lockIdle->addStretch();
    lockOff_ = new QLabel(ToQString(kLockOffWithoutLogin), page);
    lockOff_->setObjectName("lblLockOff");
    lockOff_->setWordWrap(true);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(secure_);
    layout->addWidget(frame3);
    layout->addWidget(fraSecure);
    layout->addLayout(label22);
    layout->addLayout(lockIdle);
    layout->addWidget(lockOff_);
    layout->addStretch();
    return page;
}

QWidget* OptionsFrame::buildAdvanced(const HotkeyNameLists& names)
{
    auto* page = new QWidget;
    hotkey_ = MakeCheckBox(page, "chkHotkey", kHotkeyCaption, kHotkeyTip);
    connect(hotkey_, &QCheckBox::clicked, this,
            [this] { forward([this](OptionsState& s) { panel_.chkHotkey_Click(s); }); });
    holdKey_ = new QComboBox(page);
    holdKey_->setObjectName("cmbHoldKey");
    for (const std::string& name : names.holdKeys)
        holdKey_->addItem(QString::fromStdString(name));
    pressKey_ = new QComboBox(page);
    pressKey_->setObjectName("cmbPressKey");
    holdKey_->setEnabled(false);
    pressKey_->setEnabled(false);
    for (const std::string& name : names.pressKeys)
        pressKey_->addItem(QString::fromStdString(name));
    exitPrompt_ = MakeCheckBox(page, "chkexitprompt", kExitPromptCaption, kExitPromptTip);
    startupRun_ = MakeCheckBox(page, "chkStartupRun", kStartupRunCaption, kStartupRunTip);
    quickLaunch_ = MakeCheckBox(page, "chkQuickLaunch", kQuickLaunchCaption, kQuickLaunchTip);

    auto* combo = new QHBoxLayout;
    combo->addWidget(holdKey_);
    combo->addWidget(new QLabel("+", page));
    combo->addWidget(pressKey_);
    combo->addStretch();
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(hotkey_);
    layout->addLayout(combo);
    layout->addWidget(exitPrompt_);
    layout->addWidget(startupRun_);
    layout->addWidget(quickLaunch_);
    layout->addStretch();
    return page;
}

QWidget* OptionsFrame::buildBrowser()
{
    auto* page = new QWidget;
    maxBrowser_ = MakeCheckBox(page, "chkMaxIE", kMaxBrowserCaption, kMaxBrowserTip);
    minBrowser_ = MakeCheckBox(page, "chkMinIE", kMinBrowserCaption, kMinBrowserTip);
    toolbarButton_ = MakeCheckBox(page, "chkBHO", kToolbarButtonCaption, kToolbarButtonTip);
    connect(maxBrowser_, &QCheckBox::clicked, this,
            [this] { forward([this](OptionsState& s) { panel_.chkMaxIE_Click(s); }); });
    connect(minBrowser_, &QCheckBox::clicked, this,
            [this] { forward([this](OptionsState& s) { panel_.chkMinIE_Click(s); }); });
    browserLayout_ = new QVBoxLayout(page);
    browserLayout_->addWidget(maxBrowser_);
    browserLayout_->addWidget(minBrowser_);
    browserLayout_->addWidget(toolbarButton_);
    browserLayout_->addStretch();
    return page;
}

QWidget* OptionsFrame::buildSkins()
{
    auto* page = new QWidget;
    skins_ = new QButtonGroup(page);
    auto* layout = new QVBoxLayout(page);
    for (int index = 0; index < static_cast<int>(kSkinCaptions.size()); ++index) {
        auto* option = new QRadioButton(ToQString(kSkinCaptions[static_cast<std::size_t>(index)]), page);
        option->setObjectName(QString("optSkins_%1").arg(index));
        skins_->addButton(option, index);
        layout->addWidget(option);
    }
    connect(skins_, &QButtonGroup::idClicked, this,
            [this](int id) { forward([this, id](OptionsState& s) { panel_.optSkins_Click(s, id); }); });
    browseSkin_ = MakeButton(page, "cmdBrowseSkin", kBrowseSkinCaption);
    launchSkinSite_ = MakeButton(page, "cmdLaunchSkinSite", kGetSkinsCaption);
    browseSkin_->hide();
    launchSkinSite_->hide();
    connect(browseSkin_, &QPushButton::clicked, this, &OptionsFrame::cmdBrowseSkin_Click);
    connect(launchSkinSite_, &QPushButton::clicked, this, [this] { panel_.cmdLaunchSkinSite_Click(); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(browseSkin_);
    buttons->addWidget(launchSkinSite_);
    buttons->addStretch();
    layout->addLayout(buttons);
    layout->addStretch();
    return page;
}

void OptionsFrame::setCleanupPart(OptionsCleanupPart part)
{
    cleanup_ = std::move(part);
    if (cleanup_.widget)
        browserLayout_->insertWidget(browserLayout_->count() - 1, cleanup_.widget);
}

QList<QList<QWidget*>> OptionsFrame::tabControls() const
{
    QList<QWidget*> login{secure_};
    for (QAbstractButton* button : method_->buttons())
        login.append(button);
    login << login_ << pass_ << pass1_ << loginCount_ << lockIdle_;
    QList<QWidget*> browser{maxBrowser_, minBrowser_, toolbarButton_};
    browser.append(cleanup_.tabOrder);
    QList<QWidget*> skins;
    for (QAbstractButton* button : skins_->buttons())
        skins.append(button);
    skins << browseSkin_ << launchSkinSite_;
    return {login, {hotkey_, holdKey_, pressKey_, exitPrompt_, startupRun_, quickLaunch_}, browser, skins};
}

void OptionsFrame::SSTab2_Click()
{
    const QList<QList<QWidget*>> tabs = tabControls();
    for (const QList<QWidget*>& controls : tabs)
        for (QWidget* control : controls)
            control->setFocusPolicy(Qt::NoFocus);
    const QList<QWidget*>& shown = tabs.value(tabs_->currentIndex());
    for (int i = 0; i < shown.size(); ++i) {
        shown[i]->setFocusPolicy(Qt::StrongFocus);
        if (i > 0)
            QWidget::setTabOrder(shown[i - 1], shown[i]);
    }
}

void OptionsFrame::loadOptions()
{
    SSTab2_Click();
    OptionsState current = state();
    panel_.load(current, cleanup_.load);
    showState(current);
}

OptionsState OptionsFrame::state() const
{
    OptionsState s;
    s.chkSecure = secure_->isChecked();
    s.Frame3Enabled = frame3_->isEnabled();
    s.Option2 = method_->checkedId();
    s.fraSecureEnabled = fraSecure_->isEnabled();
    s.txtLogin = login_->text().toStdString();
    s.txtPass = pass_->text().toStdString();
    s.txtPass1 = pass1_->text().toStdString();
    s.txtloginnum = loginCount_->text().toStdString();
    s.lockIdleMinutes = lockIdle_->value();
    s.lockOffShown = !lockOff_->isHidden();
    s.chkHotkey = hotkey_->isChecked();
    s.hotkeyCombosEnabled = holdKey_->isEnabled();
    s.cmbHoldKey = ShownName(holdKey_);
    s.cmbPressKey = ShownName(pressKey_);
    s.chkexitprompt = exitPrompt_->isChecked();
    s.chkStartupRun = startupRun_->isChecked();
    s.chkQuickLaunch = quickLaunch_->isChecked();
    s.chkMaxIE = maxBrowser_->isChecked();
    s.chkMinIE = minBrowser_->isChecked();
    s.chkBHO = toolbarButton_->isChecked();
    s.optSkins = skins_->checkedId();
    s.skinButtonsVisible = !browseSkin_->isHidden();
    s.lblOptionsSaved = !saved_->isHidden();
    return s;
}

void OptionsFrame::showState(const OptionsState& s)
{
    secure_->setChecked(s.chkSecure);
    frame3_->setEnabled(s.Frame3Enabled);
    CheckOnly(method_, s.Option2);
    fraSecure_->setEnabled(s.fraSecureEnabled);
    login_->setText(QString::fromStdString(s.txtLogin));
    pass_->setText(QString::fromStdString(s.txtPass));
    pass1_->setText(QString::fromStdString(s.txtPass1));
    loginCount_->setText(QString::fromStdString(s.txtloginnum));
    lockIdle_->setValue(s.lockIdleMinutes);
    lockOff_->setVisible(s.lockOffShown);
    hotkey_->setChecked(s.chkHotkey);
    holdKey_->setEnabled(s.hotkeyCombosEnabled);
    pressKey_->setEnabled(s.hotkeyCombosEnabled);
    ShowName(holdKey_, s.cmbHoldKey);
    ShowName(pressKey_, s.cmbPressKey);
    exitPrompt_->setChecked(s.chkexitprompt);
    startupRun_->setChecked(s.chkStartupRun);
    quickLaunch_->setChecked(s.chkQuickLaunch);
    maxBrowser_->setChecked(s.chkMaxIE);
    minBrowser_->setChecked(s.chkMinIE);
    toolbarButton_->setChecked(s.chkBHO);
    CheckOnly(skins_, s.optSkins);
    browseSkin_->setVisible(s.skinButtonsVisible);
    launchSkinSite_->setVisible(s.skinButtonsVisible);
    saved_->setVisible(s.lblOptionsSaved);
}

void OptionsFrame::forward(const std::function<void(OptionsState&)>& handler)
{
    OptionsState current = state();
    handler(current);
    showState(current);
}

void OptionsFrame::cmdBrowseSkin_Click()
{
    const QString chosen = QFileDialog::getOpenFileName(window(), ToQString(kBrowseSkinCaption),
                                                        QString::fromStdString(panel_.skinFolder().string()),
                                                        ToQString(kSkinFileFilter));
    panel_.cmdBrowseSkin_Click(chosen.isEmpty() ? std::nullopt
                                                : std::optional<std::filesystem::path>(chosen.toStdString()));
}

void OptionsFrame::cmdSaveOptions_Click()
{
    OptionsState current = state();
    panel_.save(current, cleanup_.save);
    showState(current);
}

} // namespace kv
