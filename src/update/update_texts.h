#pragma once
// Texts of the update check, the Updates area and the proxy dialog, quoted once for the
// logic, the forms and their tests.
#include <string_view>

namespace kv {

inline constexpr std::string_view kCheckingCaption =
    "Kestrelyn Vormaplex - Checking for updates... Please wait...";
inline constexpr std::string_view kCheckingStatus = "Checking for Updates... Please wait...";
inline constexpr std::string_view kManifestNotFound =
    "The manifest could not be found, there may have been an error downloading.  Please ensure your "
    "firewall is not blocking outbound communication.";
inline constexpr std::string_view kNoUpdates = "No updates are available, Please try again later.";
inline constexpr std::string_view kInstallQuestion =
    "There are updates available, would you like to install?";
inline constexpr std::string_view kNotInstalled = "Updates will not be installed.";
inline constexpr std::string_view kDownloadingStatus = "Downloading... Please wait...";
inline constexpr std::string_view kDownloadingMainStatus = "Downloading main application... ";
inline constexpr std::string_view kMainFileFailed =
    "The main application file could not be downloaded successfully, please try again later.";
inline constexpr std::string_view kInvalidExecutable =
    "The new update downloaded is not a valid executable file.  Please report this error to Kestrelyn "
    "support so we can investigate.";
inline constexpr std::string_view kHelperFilesFailed =
    "Necessary helper files could not be downloaded successfully, please try again later.";
inline constexpr std::string_view kInstallingStatus = "Installing...";
inline constexpr std::string_view kFinishingStatus = "Finishing...";
inline constexpr std::string_view kUpdateSuccessful =
    "Updates successful.  Kestrelyn Vormaplex will now restart for updates to take effect.";
// Followed by the percent and kPercentSuffix.
inline constexpr std::string_view kDownloadingCaption = "Kestrelyn Vormaplex - Downloading updates... ";
inline constexpr std::string_view kPercentSuffix = " %";
// Followed by a line break and the download control's message.
inline constexpr std::string_view kDownloadErrorIntro = "The following Error occured:";
// "Error " + the error number + a line break + its description: a downloaded file could not be read.
inline constexpr std::string_view kFileErrorPrefix = "Error ";
// An installation kept by the system's package manager is updated by it, never by the program.
inline constexpr std::string_view kUpdateByPackageManager =
    "There are updates available.  Kestrelyn Vormaplex was installed by your system's package manager, "
    "please update it through the package manager.";
// The downloaded and verified files could not take the old ones' places.
inline constexpr std::string_view kInstallFailed =
    "The update could not be installed, please try again later.";

// The Updates area.
inline constexpr std::string_view kAutomaticUpdatesCaption =
    "Automatic updates - (Updates download and install automatically)";
inline constexpr std::string_view kManualUpdatesCaption = "Manual updates";
inline constexpr std::string_view kFrequencyLabel = "Check for updates:";
inline constexpr std::string_view kManualUpdateButton = "Check for Updates";
inline constexpr std::string_view kDownloadSiteLabel = "Download Site:";
inline constexpr std::string_view kProxySetupButton = "&Proxy Setup";

// The proxy dialog.
// The Linux program has no Windows proxy settings: the system's are the proxy variables.
inline constexpr std::string_view kProxySystemCaption = "Use system default proxy settings (recommended)";
inline constexpr std::string_view kProxyDirectCaption = "Use direct connection to internet";
inline constexpr std::string_view kProxyManualCaption = "Manual proxy connection";
inline constexpr std::string_view kProxyAddressLabel = "Proxy Address:";
inline constexpr std::string_view kProxyPortLabel = "Proxy Port:";
inline constexpr std::string_view kProxyOkButton = "&OK";
inline constexpr std::string_view kProxyCancelButton = "&Cancel";

} // namespace kv
