#pragma once
// The texts the start-up sequence, the login dialogs and the first-run wizard show.
#include <array>
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
inline constexpr std::string_view kRegistryUnreadable =
    "Kestrelyn Vormaplex cannot read its settings in the registry folder:";
inline constexpr std::string_view kRegistryUnreadableEnd =
    "The registry may be damaged, unreadable or held by another program.  Nothing has been changed.  "
    "Application will now terminate.";
inline constexpr std::string_view kRegistryNotWritten =
    "Kestrelyn Vormaplex cannot record the profile in the registry folder:";
inline constexpr std::string_view kRegistryNotWrittenEnd =
    "The profile stays where it is and is offered again at the next start.  Application will now terminate.";
inline constexpr std::string_view kProfileFoundStart = "A profile for '";
inline constexpr std::string_view kProfileFoundAfterName = "' already exists in:";
inline constexpr std::string_view kProfileFoundEnd =
    "Its sites can only be read with its own key, so it is never overwritten.\n"
    "\n"
    "Press Yes to use the profile found there\n"
    "Press No to close Kestrelyn without changing anything";
inline constexpr std::string_view kOtherAccountsProfileStart =
    "The profile recorded for this account belongs to '";
inline constexpr std::string_view kOtherAccountsProfileEnd = "'.  Application will now terminate.";

// Login dialogs
inline constexpr std::string_view kOwnLoginCaption = "Authenticate Kestrelyn User";
// Adapted: the password checked is the Linux account's; there is no Windows account here.
inline constexpr std::string_view kAccountLoginCaption = "Authenticate Linux User";
inline constexpr std::string_view kEnterLogin = "You must enter a login.";
inline constexpr std::string_view kEnterPassword = "You must enter a password.";
// Adapted: the Linux account stands where the Windows account was named.
inline constexpr std::string_view kEnterAccountPassword =
    "You must enter a password.  If your Linux account does not have a password you will not be able to "
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
// "/" separates folders here and must be typed to name one; ":" and "\" stay refused.
inline constexpr std::string_view kDefaultDirKeys =
    " abcdefghijklmnopqrstuvwxyz!@#$%^&()_+=[];'.,0123456789-{}/";
inline constexpr std::string_view kKeyGenerated = "Encryption key generated.  Please proceed to next step.";
inline constexpr std::string_view kEnterStoragePath = "You must enter a profile storage path.";
inline constexpr std::string_view kGenerateKeyFirst = "You must generate an encryption key.";
inline constexpr std::array<std::string_view, 4> kLoginTypeCaptions = {
    "Authenticate using custom login and password ( Default )",
    // Adapted: the OS password is the Linux account's.
    "Authenticate using OS password ( only works if Linux account has password )",
    "Authenticate using both ( OS password and custom login and pass )",
    "No Authentication ( Not recommended - No password will be required to access your profile )",
};
// Adapted: only the program's own browser captures logins, and "Add New Site" opens it;
// the text named Internet Explorer.
inline constexpr std::string_view kFinishAdvice =
    "As soon as the program starts, click \"Add New Site\" to open the program's browser and head to your "
    "favorite site. When logging in, Kestrelyn Vormaplex will give the option of saving your site. Once you "
    "have saved sites in the program you never have to type another password again!";

} // namespace kv
