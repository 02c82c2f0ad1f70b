#pragma once
// The logic of the Options area (fraOptions): which store each control edits, what the
// immediate handlers do, and the save that validates and then writes in a fixed order. The
// form keeps its controls in an OptionsState, hands it to each call and shows it afterwards.
#include "browser/url_launcher.h"
#include "mainwindow/skin_table.h"
#include "startup/desktop_shortcuts.h"
#include "support/dialogs.h"
#include "support/process.h"
#include "support/reg_access.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

// The hide/show hotkey as the options panel changes it; registering it is the hotkeys' part.
class HideShowHotkey {
public:
    virtual ~HideShowHotkey() = default;
    // False when the combination cannot be had.
    virtual bool registerHideShow(std::string_view holdKeyName, std::string_view pressKeyName) = 0;
    virtual void unregisterHideShow() = 0;
};

inline constexpr int kNoOption = -1;

// Every control of the four tabs that the panel reads or sets, by its name.
struct OptionsState {
    // Login
    bool chkSecure = false;
    bool Frame3Enabled = false;
    int Option2 = kNoOption; // 0 "Operating System", 1 "Kestrelyn login/pass", 2 "Both"
    bool fraSecureEnabled = false;
    std::string txtLogin, txtPass, txtPass1, txtloginnum;
    int lockIdleMinutes = 0;   // 0 for never
    bool lockOffShown = false; // without a login there is no lock
    // Advanced
    bool chkHotkey = false;
    bool hotkeyCombosEnabled = false;
    std::string cmbHoldKey, cmbPressKey; // "" when nothing is selected
    bool chkexitprompt = false;
    bool chkStartupRun = false;
    bool chkQuickLaunch = false;
    // Browser
    bool chkMaxIE = false;
    bool chkMinIE = false;
    bool chkBHO = false;
    // Skins
    int optSkins = kNoOption;
    bool skinButtonsVisible = false; // cmdBrowseSkin and cmdLaunchSkinSite

    bool lblOptionsSaved = false;
};

struct OptionsPanelContext {
    std::filesystem::path profileFile;
    std::filesystem::path dataDirectory; // the shipped skins
    std::filesystem::path program;       // what the start-up entry starts
    Dialogs& dialogs;
    Process& process;
    clsRegAccess& registry;
    DesktopShortcuts& shortcuts;
    UrlLauncher& launcher;
    // Applies a skin to every window; false when its file cannot be read or parsed.
    std::function<bool(const Skin&)> applySkin;
    // Nothing when the program holds no system-wide hotkeys.
    HideShowHotkey* hotkey = nullptr;
};

class OptionsPanel {
public:
    explicit OptionsPanel(OptionsPanelContext context);

    // Fills every control from its store; loadCleanup loads the cleanup part of the Browser tab
    // first, as the area always has.
    void load(OptionsState& state, const std::function<void()>& loadCleanup = {});
    // Validates and writes; false when a validation message stopped it (what was written before
    // the failed check stays written). saveCleanup writes the cleanup part in its turn.
    bool save(OptionsState& state, const std::function<void()>& saveCleanup = {});

    void chkSecure_Click(OptionsState& state) const;
    void Option2_Click(OptionsState& state, int index) const;
    void chkHotkey_Click(OptionsState& state) const;
    void chkMaxIE_Click(OptionsState& state) const;
    void chkMinIE_Click(OptionsState& state) const;
    void optSkins_Click(OptionsState& state, int index);
    // chosen: the file the user picked, nothing when the dialog was cancelled.
    void cmdBrowseSkin_Click(const std::optional<std::filesystem::path>& chosen);
    void cmdLaunchSkinSite_Click();

    // Where the file dialog of cmdBrowseSkin starts.
    std::filesystem::path skinFolder() const { return context_.dataDirectory / "skins"; }

private:
    void loadLogin(OptionsState& state) const;
    bool saveLogin(const OptionsState& state) const;
    void saveHotkey(const OptionsState& state) const;
    std::string readSecure(std::string_view key, std::string_view cipherKey) const;
    void writeSecure(std::string_view key, std::string_view value, std::string_view cipherKey) const;
    std::string option(std::string_view key) const;
    void writeOption(std::string_view key, bool on) const;

    OptionsPanelContext context_;
};

// txtloginnum as the save takes it: a whole number from 1 to 9, blanks around it allowed.
std::optional<int> LoginCountOf(std::string_view text);

} // namespace kv
