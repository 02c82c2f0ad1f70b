#include "mainwindow/options_panel.h"

#include "browser/numeric_value.h"
#include "mainwindow/lock_settings.h"
#include "mainwindow/main_window_texts.h"
#include "mainwindow/options_texts.h"
#include "startup/profile_settings.h"
#include "startup/run_entry.h"
#include "startup/security_settings.h"
#include "storage/ini_values.h"
#include "storage/key_material.h"
#include "storage/secure_store.h"
#include "support/ascii_text.h"

namespace kv {

namespace {

constexpr int kOsLogin = 0;
constexpr int kOwnLogin = 1;
constexpr int kBothLogins = 2;

// LOGIN CHOICE as start-up reads it, for the methods that take the own login.
std::string_view LoginChoiceOf(int method)
{
    return method == kOwnLogin ? "1" : "3";
}

} // namespace

std::optional<int> LoginCountOf(std::string_view text)
{
    const std::string count = TrimBlanks(text);
    if (count.size() != 1 || count[0] < '1' || count[0] > '9')
        return std::nullopt;
    return count[0] - '0';
}

OptionsPanel::OptionsPanel(OptionsPanelContext context) : context_(std::move(context)) {}

std::string OptionsPanel::option(std::string_view key) const
{
    return ReadIniValue(kOptionsSection, key, context_.profileFile);
}

void OptionsPanel::writeOption(std::string_view key, bool on) const
{
    WriteIniValue(kOptionsSection, key, on ? kSettingOn : kSettingOff, context_.profileFile);
}

std::string OptionsPanel::readSecure(std::string_view key, std::string_view cipherKey) const
{
    return SecuritySettings(context_.profileFile, context_.dialogs, context_.process).read(key, cipherKey);
}

void OptionsPanel::writeSecure(std::string_view key, std::string_view value, std::string_view cipherKey) const
{
    WriteEncryptedValue(kSecuritySection, key, value, cipherKey, context_.profileFile);
}

void OptionsPanel::load(OptionsState& state, const std::function<void()>& loadCleanup)
{
    if (loadCleanup)
        loadCleanup();
    state.chkQuickLaunch = context_.shortcuts.quickLaunchShortcutExists();
    state.chkStartupRun = RunEntryExists(context_.registry);
    state.chkBHO = context_.shortcuts.toolbarButtonPresent();

    const std::string skin = option(SKIN);
    if (skin.empty())
        WriteIniValue(kOptionsSection, SKIN, "0", context_.profileFile);
    else if (const auto index = SkinIndexOf(skin); index && *index != state.optSkins)
        optSkins_Click(state, *index);

    state.lblOptionsSaved = false;
    state.chkexitprompt = IsNumericOne(option(EXITWARNING));
    state.chkMaxIE = IsNumericOne(option(MAXIE));
    state.chkMinIE = IsNumericOne(option(MINIE));
    loadLogin(state);
    state.lockIdleMinutes = ReadLockIdleMinutes(context_.profileFile);
    state.lockOffShown = !state.chkSecure;
    if (const std::string count = readSecure(LOGIN_COUNT, CurrentCipherKeys().valueKey); !count.empty())
        state.txtloginnum = count;

    state.chkHotkey = IsNumericOne(option(HOTKEYON));
    state.hotkeyCombosEnabled = state.chkHotkey;
    state.cmbHoldKey = option(HOLDKEY);
    state.cmbPressKey = option(PRESSKEY);
}

void OptionsPanel::loadLogin(OptionsState& state) const
{
    const CipherKeys& keys = CurrentCipherKeys();
    if (const std::string enabled = readSecure(SECURITY_ENABLED, keys.valueKey); !enabled.empty()) {
        const bool checked = enabled == kSettingOn;
        if (checked != state.chkSecure) {
            state.chkSecure = checked;
            chkSecure_Click(state);
        }
    }
    if (!state.chkSecure)
        return;
    // As the start-up access control: a protected profile without a login choice cannot be run.
    const std::string choice = readSecure(LOGIN_CHOICE, keys.machineKey);
    if (choice.empty()) {
        context_.process.endProgram();
        return;
    }
    if (choice == "2") {
        Option2_Click(state, kOsLogin);
        return;
    }
    Option2_Click(state, choice == "1" ? kOwnLogin : kBothLogins);
    state.txtLogin = readSecure(LOGIN, keys.valueKey);
    state.txtPass = readSecure(PASS, keys.valueKey);
    state.txtPass1 = state.txtPass;
}

bool OptionsPanel::save(OptionsState& state, const std::function<void()>& saveCleanup)
{
    if (!saveLogin(state))
        return false;
    WriteLockIdleMinutes(context_.profileFile, state.lockIdleMinutes);
    if (saveCleanup)
        saveCleanup();
    DesktopShortcuts& shortcuts = context_.shortcuts;
    if (state.chkBHO)
        shortcuts.addToolbarButton();
    else
        shortcuts.removeToolbarButton();
    if (state.chkStartupRun)
        WriteRunEntry(context_.registry, context_.program);
    else
        RemoveRunEntry(context_.registry);
    if (!state.chkQuickLaunch)
        shortcuts.deleteQuickLaunchShortcut();
    else if (!shortcuts.quickLaunchShortcutExists())
        shortcuts.createQuickLaunchShortcut();
    saveHotkey(state);
    writeOption(MAXIE, state.chkMaxIE);
    writeOption(MINIE, state.chkMinIE);
    writeOption(EXITWARNING, state.chkexitprompt);
    state.lblOptionsSaved = true;
    return true;
}

bool OptionsPanel::saveLogin(const OptionsState& state) const
{
    const CipherKeys& keys = CurrentCipherKeys();
    const std::optional<int> count = LoginCountOf(state.txtloginnum);
    const auto refuse = [this](std::string_view message) {
        context_.dialogs.message(message);
        return false;
    };
    if (state.chkSecure) {
        if (state.Option2 == kOwnLogin || state.Option2 == kBothLogins) {
            if (state.txtPass != state.txtPass1)
                return refuse(kPasswordsDifferMessage);
            if (state.txtLogin.empty() || state.txtPass.empty() || state.txtPass1.empty())
                return refuse(kLoginBlankMessage);
            if (!count)
                return refuse(kLoginCountMessage);
            writeSecure(LOGIN, state.txtLogin, keys.valueKey);
            writeSecure(PASS, state.txtPass, keys.valueKey);
            writeSecure(SECURITY_ENABLED, kSettingOn, keys.valueKey);
            writeSecure(LOGIN_CHOICE, LoginChoiceOf(state.Option2), keys.machineKey);
        } else {
            writeSecure(SECURITY_ENABLED, kSettingOn, keys.valueKey);
            writeSecure(LOGIN_CHOICE, "2", keys.machineKey);
        }
        if (!count)
            return refuse(kLoginCountMessage);
        writeSecure(LOGIN_COUNT, std::to_string(*count), keys.valueKey);
        return true;
    }
    if (!count)
        return refuse(kLoginCountMessage);
    writeSecure(SECURITY_ENABLED, kSettingOff, keys.valueKey);
    writeSecure(LOGIN_COUNT, std::to_string(*count), keys.valueKey);
    return true;
}

void OptionsPanel::saveHotkey(const OptionsState& state) const
{
    if (HideShowHotkey* hotkey = context_.hotkey) {
        hotkey->unregisterHideShow();
        if (state.chkHotkey && !hotkey->registerHideShow(state.cmbHoldKey, state.cmbPressKey))
            context_.dialogs.message(std::string(kHotkeyTakenStart) + state.cmbHoldKey + " + " +
                                         state.cmbPressKey + std::string(kHotkeyTakenEnd),
                                     {}, Icon::Critical);
    }
    writeOption(HOTKEYON, state.chkHotkey);
    WriteIniValue(kOptionsSection, HOLDKEY, state.cmbHoldKey, context_.profileFile);
    WriteIniValue(kOptionsSection, PRESSKEY, state.cmbPressKey, context_.profileFile);
}

void OptionsPanel::chkSecure_Click(OptionsState& state) const
{
    state.Frame3Enabled = state.chkSecure;
    state.lockOffShown = !state.chkSecure;
    if (state.chkSecure) {
        Option2_Click(state, kOsLogin);
        return;
    }
    state.Option2 = kNoOption;
    state.txtLogin.clear();
    state.txtPass.clear();
    state.txtPass1.clear();
    state.fraSecureEnabled = false;
}

void OptionsPanel::Option2_Click(OptionsState& state, int index) const
{
    state.Option2 = index;
    state.fraSecureEnabled = index == kOwnLogin || index == kBothLogins;
}

void OptionsPanel::chkHotkey_Click(OptionsState& state) const
{
    state.hotkeyCombosEnabled = state.chkHotkey;
}

void OptionsPanel::chkMaxIE_Click(OptionsState& state) const
{
    if (state.chkMaxIE)
        state.chkMinIE = false;
}

void OptionsPanel::chkMinIE_Click(OptionsState& state) const
{
    if (state.chkMinIE)
        state.chkMaxIE = false;
}

void OptionsPanel::optSkins_Click(OptionsState& state, int index)
{
    state.optSkins = index;
    state.skinButtonsVisible = index == kSkinCustom;
    // Custom waits for its file.
    if (index != kSkinCustom)
        if (const auto skin = SkinForIndex(index, context_.dataDirectory, {}); skin && context_.applySkin)
            context_.applySkin(*skin);
    WriteIniValue(kOptionsSection, SKIN, std::to_string(index), context_.profileFile);
}

void OptionsPanel::cmdBrowseSkin_Click(const std::optional<std::filesystem::path>& chosen)
{
    if (!chosen || chosen->empty())
        return;
    WriteIniValue(kOptionsSection, SKINCUSTOM, chosen->string(), context_.profileFile);
    if (context_.applySkin)
        context_.applySkin(Skin{*chosen});
}

void OptionsPanel::cmdLaunchSkinSite_Click()
{
    context_.launcher.LaunchBrowser(std::string(kMakerSite) + std::string(kSkinsPath));
}

} // namespace kv
