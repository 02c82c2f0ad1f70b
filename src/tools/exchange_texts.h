#pragma once
// The texts of the Import/Export area: its pages, buttons, messages and the print page.
#include <string_view>

namespace kv {

inline constexpr std::string_view kExchangeWelcome =
    "Welcome to the import/export area.  Select one of the options below:";
inline constexpr std::string_view kExportOption =
    "Export sites so they can be imported into another computer.";
inline constexpr std::string_view kImportOption = "Import sites from file.";
inline constexpr std::string_view kPrintOption = "Print out sites for storage in safe or secure medium.";
inline constexpr std::string_view kCsvImportOption =
    "Import sites from another password manager or browser (CSV file).";
inline constexpr std::string_view kExportButton = "Export";
inline constexpr std::string_view kImportButton = "Import";
inline constexpr std::string_view kPrintButton = "Print";

inline constexpr std::string_view kExport1Caption = "Select sites to be exported";
inline constexpr std::string_view kExport2Caption = "Select the folder that will contain the exported sites";
inline constexpr std::string_view kImport1Caption = "Select the folder containing sites to be imported";
inline constexpr std::string_view kImport2Caption = "Select sites to be imported";
inline constexpr std::string_view kCsvCaption = "Select the CSV file exported by the other program";
inline constexpr std::string_view kCheckAll = "Check all";
inline constexpr std::string_view kUncheckAll = "Uncheck all";
inline constexpr std::string_view kNextButton = "Next";
inline constexpr std::string_view kGoBackButton = "Go back";
inline constexpr std::string_view kBrowseButton = "Browse";
inline constexpr std::string_view kFinishButton = "Finish";
inline constexpr std::string_view kSiteColumn = "Site";
inline constexpr std::string_view kExportNote =
    "Note:  Sites are exported as plain text so please be careful with who has access to them.  It is not "
    "reccomend to send them through unsecured medium such as email.";
inline constexpr std::string_view kChooseFolderTitle = "Select A Directory";
inline constexpr std::string_view kChooseCsvTitle = "Select A CSV File";

// The default exchange folder, in the user's home folder.
inline constexpr std::string_view kExchangeFolderName = "Kestrelyn Exported Sites";

inline constexpr std::string_view kExportAtLeastOne = "You must export at least 1 site.";
inline constexpr std::string_view kSelectFolder = "You must select a folder to store the unencrypted sites.";
inline constexpr std::string_view kNoExportIntoProfile =
    "You cannot export unencrypted sites to the profile folder that contains the encrypted sites.";
inline constexpr std::string_view kNoImportFromProfile =
    "You cannot import unencrypted sites from the profile folder that contains the encrypted sites.";
inline constexpr std::string_view kExportCompleted = "Export Completed";
inline constexpr std::string_view kImportCompleted = "Import Completed.  Imported sites are stored in the "
                                                     "root sites folder, from there you can move them into "
                                                     "the categories of your choice.";
inline constexpr std::string_view kOverwriteBefore = "It appears a file with the same name '";
inline constexpr std::string_view kOverwriteAfter =
    "' already exists in the root sites folder, would you like to overwrite?";

// What an export or import could not do, listed when it completes.
inline constexpr std::string_view kSkippedSitesIntro = "These sites were not exported:";
inline constexpr std::string_view kNotImportedIntro = "These were not imported:";
inline constexpr std::string_view kExportFolderFailed = "The export folder could not be created: ";
inline constexpr std::string_view kReasonDamaged = "its stored values cannot be decrypted";
inline constexpr std::string_view kReasonLineBreak =
    "a value holds a line break, which a plain site file cannot";
inline constexpr std::string_view kReasonWriteFailed = "the file could not be written";
inline constexpr std::string_view kReasonTooLong = "a value is longer than a site file can keep";
inline constexpr std::string_view kReasonUnreadable = "the file cannot be read";

// CSV files of other programs
inline constexpr std::string_view kCsvSelectFile = "You must select a CSV file to import.";
inline constexpr std::string_view kCsvUnknownHeader =
    "the first line is not the header of a known export (Chromium, Firefox, Bitwarden or KeePassXC)";
inline constexpr std::string_view kCsvMissingColumns = "the line has fewer columns than the header";
inline constexpr std::string_view kCsvUnclosedQuote =
    "a quoted value is not closed before the end of the file";
inline constexpr std::string_view kCsvMisplacedQuote = "a double quote is out of place in the line";
inline constexpr std::string_view kCsvInvalidUtf8 = "the line is not valid UTF-8 text";
inline constexpr std::string_view kCsvTooLarge = "the file is larger than 64 MB";
inline constexpr std::string_view kCsvImportCompletedBefore = "Import Completed.  ";
inline constexpr std::string_view kCsvImportCompletedAfter =
    " sites were imported into the sites folder; sites of a folder or group went into a folder of that name.";

// The print page
inline constexpr std::string_view kPrintHead = "<html><head><TITLE>Kestrelyn Backup</TITLE></head><body>";
inline constexpr std::string_view kPrintWarning =
    "WARNING: This information should be stored securely in a safe or other storage.";
inline constexpr std::string_view kPrintTableHead =
    "<table border=1><tr><td><b>Site Name<td><b>Domain<td><b>Login<td><b>Password</tr>";
inline constexpr std::string_view kPrintTail = "</table></body></html>";
inline constexpr std::string_view kPrintDamaged = "(damaged)";

} // namespace kv
