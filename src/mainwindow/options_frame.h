#pragma once
// fraOptions: the Options area's four tabs. OptionsPanel decides; this frame shows an
// OptionsState in its controls and forwards every click. The cleanup part of the Browser tab
// is a widget of its own that the frame hosts when the program has one.
#include "mainwindow/options_panel.h"

#include <QGroupBox>
#include <QList>
#include <functional>
#include <string>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QVBoxLayout;

namespace kv {

class OptionTabs;

// The hide/show hotkey's modifier and key names, in the order the lists offer them.
struct HotkeyNameLists {
    std::vector<std::string> holdKeys;
    std::vector<std::string> pressKeys;
};

// The cleanup boxes of the Browser tab: shown below the tab's own controls, loaded first by
// the area's load and saved in the save's second step.
struct OptionsCleanupPart {
    QWidget* widget = nullptr;
    std::function<void()> load;
    std::function<void()> save;
    QList<QWidget*> tabOrder; // after the tab's own controls
};

// What the Options area needs beyond the main window's own context.
struct OptionsAreaServices {
    Process& process;
    clsRegAccess& registry;
    DesktopShortcuts& shortcuts;
    std::filesystem::path program; // what the start-up entry and the desktop entries start
    HideShowHotkey* hotkey = nullptr;
    HotkeyNameLists names;
    std::optional<OptionsCleanupPart> cleanup;
};

class OptionsFrame : public QGroupBox {
    Q_OBJECT
public:
    OptionsFrame(OptionsPanel& panel, const HotkeyNameLists& names, QWidget* parent = nullptr);

    void setCleanupPart(OptionsCleanupPart part);
    // The area opens: the tab order of the shown tab, then every control from its store.
    void loadOptions();

    OptionTabs* SSTab2() const { return tabs_; }
    QCheckBox* chkSecure() const { return secure_; }
    QWidget* Frame3() const { return frame3_; }
    QButtonGroup* Option2() const { return method_; }
    QWidget* fraSecure() const { return fraSecure_; }
    QLineEdit* txtLogin() const { return login_; }
    QLineEdit* txtPass() const { return pass_; }
    QLineEdit* txtPass1() const { return pass1_; }
    QLineEdit* txtloginnum() const { return loginCount_; }
    QSpinBox* spnLockIdleMinutes() const { return lockIdle_; }
    QLabel* lblLockOff() const { return lockOff_; }
    QCheckBox* chkHotkey() const { return hotkey_; }
    QComboBox* cmbHoldKey() const { return holdKey_; }
    QComboBox* cmbPressKey() const { return pressKey_; }
    QCheckBox* chkexitprompt() const { return exitPrompt_; }
    QCheckBox* chkStartupRun() const { return startupRun_; }
    QCheckBox* chkQuickLaunch() const { return quickLaunch_; }
    QCheckBox* chkMaxIE() const { return maxBrowser_; }
    QCheckBox* chkMinIE() const { return minBrowser_; }
    QCheckBox* chkBHO() const { return toolbarButton_; }
    QButtonGroup* optSkins() const { return skins_; }
    QPushButton* cmdBrowseSkin() const { return browseSkin_; }
    QPushButton* cmdLaunchSkinSite() const { return launchSkinSite_; }
    QPushButton* cmdSaveOptions() const { return save_; }
    QLabel* lblOptionsSaved() const { return saved_; }

private:
    QWidget* buildLogin();
    QWidget* buildAdvanced(const HotkeyNameLists& names);
    QWidget* buildBrowser();
    QWidget* buildSkins();
    // Only the shown tab's controls take the focus, in their table order.
    void SSTab2_Click();
    QList<QList<QWidget*>> tabControls() const;

    OptionsState state() const;
    void showState(const OptionsState& state);
    // Runs one of the panel's handlers on the controls as they stand.
    void forward(const std::function<void(OptionsState&)>& handler);
    void cmdBrowseSkin_Click();
    void cmdSaveOptions_Click();

    OptionsPanel& panel_;
    OptionsCleanupPart cleanup_;
    OptionTabs* tabs_ = nullptr;
    QVBoxLayout* browserLayout_ = nullptr;
    QCheckBox* secure_ = nullptr;
    QWidget* frame3_ = nullptr;
    QButtonGroup* method_ = nullptr;
    QWidget* fraSecure_ = nullptr;
    QLineEdit* login_ = nullptr;
    QLineEdit* pass_ = nullptr;
    QLineEdit* pass1_ = nullptr;
    QLineEdit* loginCount_ = nullptr;
    QSpinBox* lockIdle_ = nullptr;
    QLabel* lockOff_ = nullptr;
    QCheckBox* hotkey_ = nullptr;
    QComboBox* holdKey_ = nullptr;
    QComboBox* pressKey_ = nullptr;
    QCheckBox* exitPrompt_ = nullptr;
    QCheckBox* startupRun_ = nullptr;
    QCheckBox* quickLaunch_ = nullptr;
    QCheckBox* maxBrowser_ = nullptr;
    QCheckBox* minBrowser_ = nullptr;
    QCheckBox* toolbarButton_ = nullptr;
    QButtonGroup* skins_ = nullptr;
    QPushButton* browseSkin_ = nullptr;
    QPushButton* launchSkinSite_ = nullptr;
    QPushButton* save_ = nullptr;
    QLabel* saved_ = nullptr;
};

} // namespace kv
