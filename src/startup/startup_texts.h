#pragma once
// The texts the start-up sequence, the login dialogs and the first-run wizard show.
#include <string_view>

namespace kv {

// Start-up
inline constexpr std::string_view kBrowserMissing =
    "Kestrelyn Vormaplex only supports Chromium.  Please upgrade and run the application again.";
inline constexpr std::string_view kAlreadyRunning = "Cannot load program again.";
inline constexpr std::string_view kAlreadyRunningTitle = "The requested application is already open.";
inline constexpr std::string_view kAlreadyRunningTitleWithArguments =
    "The requested application is already open";
inline constexpr std::string_view kInstallSwitch = "/install";
inline constexpr std::string_view kUninstallSwitch = "/uninstall";
inline constexpr std::string_view kUpdateRestartSwitch = "/updaterestart";
inline constexpr std::string_view kRunKey =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN";
inline constexpr std::string_view kRunValue = "Kestrelyn Vormaplex";

// Profile resolution
inline constexpr std::string_view kMissingProfileStart =
    "Kestrelyn was unable to detect the file for profile '";
inline constexpr std::string_view kMissingProfileAfterName = ".ini' in target directory:";
inline constexpr std::string_view kMissingProfileEnd =
    "Please insert the drive or power it up.  The drive must be mounted and available from the filesystem.\n"
    "\n"
    "Press Yes to attempt to read profile from target directory\n"
    "Press No to select new source directory\n"
    "Press cancel to close Kestrelyn";
inline constexpr std::string_view kSecondReadFailed = "Second read of profile failed.";
inline constexpr std::string_view kNoSourceDirectory = "A source directory was not selected.";
inline constexpr std::string_view kSelectDirectory = "Select A Directory";
inline constexpr std::string_view kOtherAccountsProfileStart =
    "The profile recorded for this account belongs to '";
inline constexpr std::string_view kOtherAccountsProfileEnd = "'.  Application will now terminate.";

// Login dialogs
inline constexpr std::string_view kOwnLoginCaption = "Authenticate Kestrelyn User";
inline constexpr std::string_view kAccountLoginCaption = "Authenticate Windows User";
inline constexpr std::string_view kEnterLogin = "You must enter a login.";
inline constexpr std::string_view kEnterPassword = "You must enter a password.";
inline constexpr std::string_view kEnterAccountPassword =
    "You must enter a password.  If your windows account does not have a password you will not be able to "
    "login until you have a password.";
inline constexpr std::string_view kLogonFailed = "Logon Failed";
inline constexpr std::string_view kTryAgainStart = "TRY AGAIN YOU HAVE ";
inline constexpr std::string_view kTryAgainEnd = " TIMES LEFT";
inline constexpr std::string_view kAccessDenied = "Access Denied!";

// Create login
inline constexpr std::string_view kCreateLoginCaption = "Enter Kestrelyn login";
inline constexpr std::string_view kPasswordsDoNotMatch = "Your passwords do not match.";
inline constexpr std::string_view kLoginOrPasswordBlank = "A login or password is blank.";

// First-run wizard
inline constexpr std::string_view kWizardCaption = "Welcome to Kestrelyn Vormaplex!";
inline constexpr std::string_view kDefaultProfileFolder = "Kestrelyn";
inline constexpr std::string_view kDefaultDirKeys =
    " abcdefghijklmnopqrstuvwxyz!@#$%^&()_+=[];'.,0123456789-{}";
inline constexpr std::string_view kKeyGenerated = "Encryption key generated.  Please proceed to next step.";
inline constexpr std::string_view kEnterStoragePath = "You must enter a profile storage path.";
inline constexpr std::string_view kGenerateKeyFirst = "You must generate an encryption key.";

} // namespace kv
