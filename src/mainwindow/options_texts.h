#pragma once
// Texts of the Options area, quoted once for the panel, its form and the tests.
#include <array>
#include <string_view>

namespace kv {

inline constexpr std::array<std::string_view, 4> kOptionTabCaptions = {"Login", "Advanced", "Browser",
                                                                       "Skins"};

// Login tab
inline constexpr std::string_view kSecureCaption = "Enable Login Security";
inline constexpr std::string_view kAuthenticationMethodCaption = "Authentication Method";
inline constexpr std::array<std::string_view, 3> kLoginMethodCaptions = {"Operating System",
                                                                         "Kestrelyn login/pass", "Both"};
inline constexpr std::string_view kLoginAccountCaption = "Login Account";
inline constexpr std::string_view kLoginLabel = "Login";
inline constexpr std::string_view kPassLabel = "Pass";
inline constexpr std::string_view kConfirmPassLabel = "Confirm pass";
// The count box stands in the gap of the ten blanks.
inline constexpr std::string_view kLoginAttemptsBefore = "End program after";
inline constexpr std::string_view kLoginAttemptsAfter = "failed login attempts.";

// Advanced tab
inline constexpr std::string_view kHotkeyCaption = "Enable hide/show hotkey";
inline constexpr std::string_view kHotkeyTip = "With this enabled, performing keyboard combo below will "
                                               "result in application being either hidden or shown.";
inline constexpr std::string_view kExitPromptCaption = "Alert on program exit";
inline constexpr std::string_view kExitPromptTip = "Check here to be alerted when closing program";
// Adapted: the session start on login stands where Windows' start-up was named.
inline constexpr std::string_view kStartupRunCaption = "Start program when I log in";
// Adapted: as above.
inline constexpr std::string_view kStartupRunTip = "Check here to have Vormaplex start when you log in";
// Adapted: the desktop's application menu stands where the Windows Quick Launch bar was named.
inline constexpr std::string_view kQuickLaunchCaption = "Application menu shortcut";
// Adapted: as above.
inline constexpr std::string_view kQuickLaunchTip =
    "Check here to have the program added to the application menu";

// Browser tab
// Adapted: the program's own browser stands where Internet Explorer was named.
inline constexpr std::string_view kMaxBrowserCaption = "Maximize browser window on click or hotkey";
// Adapted: as above.
inline constexpr std::string_view kMaxBrowserTip = "Launches the browser maximized to full window space";
// Adapted: as above.
inline constexpr std::string_view kMinBrowserCaption = "Minimize browser window on click or hotkey";
// Adapted: as above.
inline constexpr std::string_view kMinBrowserTip = "Launches the browser minimized to the task bar";
// Adapted: the button sits in the program's browser's toolbar; that browser has no Tools menu.
inline constexpr std::string_view kToolbarButtonCaption =
    "Add icon to the browser  (requires browser restart)";
// Adapted: as above.
inline constexpr std::string_view kToolbarButtonTip = "Puts a Vormaplex icon in the browser's toolbar";

// Skins tab
inline constexpr std::array<std::string_view, 5> kSkinCaptions = {"Vista", "Windows XP", "Royal", "None",
                                                                  "Custom"};
inline constexpr std::string_view kBrowseSkinCaption = "Browse";
inline constexpr std::string_view kGetSkinsCaption = "Get Skins";
// Adapted: skins here are Qt style sheets, not Windows visual styles.
inline constexpr std::string_view kSkinFileFilter = "Qt style sheets (*.qss);;All files (*)";
inline constexpr std::string_view kSkinsPath = "/skins.asp";

inline constexpr std::string_view kSaveOptionsCaption = "&Save changes";
inline constexpr std::string_view kOptionsSavedCaption = "Options Saved";

inline constexpr std::string_view kPasswordsDifferMessage = "Your passwords do not match please correct.";
inline constexpr std::string_view kLoginBlankMessage = "A login or pass is blank please correct.";
inline constexpr std::string_view kLoginCountMessage = "You must input a number between 1 and 9";
inline constexpr std::string_view kHotkeyTakenStart = "Can not register ";
inline constexpr std::string_view kHotkeyTakenEnd =
    " Try other keys this key is already registered by some other running applications.";

} // namespace kv
