#include "cli/command_runners.h"

namespace kv::cli {
namespace {

constexpr OptionSpec kHelp{"help"};
constexpr OptionSpec kJson{"json"};
constexpr OptionSpec kPasswordStdin{"password-stdin"};

} // namespace

const std::string_view kProfileNote =
    "\n"
    "The profile is the one this account recorded. When it asks for its login, the login\n"
    "is asked on the terminal, with the program's number of attempts; --password-stdin\n"
    "reads each password asked for from a line of standard input instead (the account's\n"
    "password first, then the own one, when the profile asks for both).\n";

namespace {

constexpr std::string_view kInitHelp =
    "Usage: kestrelyn-cli init --dir DIR [--login-choice 1|2|3|4] [--no-categories]\n"
    "                          [--login LOGIN] [--password-stdin]\n"
    "\n"
    "Creates the profile of this account in DIR, as the first-run wizard does: a new\n"
    "encryption key from the system's random source, the settings file, and the sample\n"
    "category folders unless --no-categories is given. Refused when a profile is already\n"
    "recorded or DIR already holds a settings file.\n"
    "\n"
    "  --login-choice  1 own login and password (the default), 2 the account's password,\n"
    "                  3 both, 4 no login\n"
    "  --login LOGIN   the own login (choices 1 and 3); otherwise it is asked on the terminal\n"
    "  --password-stdin  read the own password from one line of standard input instead of\n"
    "                  asking for it twice on the terminal\n";

constexpr std::string_view kSitesHelp =
    "Usage: kestrelyn-cli sites [--folder PATH] [--json]\n"
    "\n"
    "Lists the sites of the tree, or of the folder PATH (\"Music/Rock\"), one per line as\n"
    "their path in the tree: each folder's own sites before those of its subfolders.\n"
    "\n"
    "--json prints an array of objects:\n"
    "  {\"name\": \"Bank\", \"folder\": \"Finance\", \"path\": \"/Finance/Bank\"}\n"
    "where folder is \"\" for the root and path is the site's name in every other command.\n";

constexpr std::string_view kShowHelp =
    "Usage: kestrelyn-cli show SITE [--reveal] [--json]\n"
    "\n"
    "Shows the site's details in the order of the program's Site Details: Friendly name,\n"
    "Title, URL, Domain, Form name, Form method, Form action, Form login name, Login,\n"
    "Form password name, Password, Amount of times used. The password is masked unless\n"
    "--reveal is given. SITE is the site's path in the tree (\"Finance/Bank\", \"/Bank\" for\n"
    "the root) or its name alone when no other site has that name.\n"
    "\n"
    "--json prints one object:\n"
    "  {\"name\": ..., \"folder\": ..., \"path\": ...,\n"
    "   \"fields\": [{\"key\": \"SITEFRIENDLYNAME\", \"label\": \"Friendly name\", \"value\": \"...\"}, "
    "...]}\n"
    "with the twelve fields in that order; the value of FORMPASSVALUE is null unless\n"
    "--reveal is given.\n";

constexpr std::string_view kSearchHelp =
    "Usage: kestrelyn-cli search TEXT [--json]\n"
    "\n"
    "Lists the sites whose friendly name, address, login or name in the tree holds TEXT,\n"
    "letter case ignored. Output as for 'sites', --json included.\n";

constexpr std::string_view kLoginHelp =
    "Usage: kestrelyn-cli login SITE...\n"
    "       kestrelyn-cli login --folder PATH\n"
    "       kestrelyn-cli login --hotkey N\n"
    "\n"
    "Logs into the sites as the program does: each in a new browser window, by filling and\n"
    "submitting its form or by posting its saved form (Velotrip). --folder logs into every\n"
    "site below the folder; --hotkey into the sites of hotkey N (1 to 10, Ctrl+F1 to F10).\n"
    "\n"
    "When the program runs, it does the logins in its own browser and counts them. Otherwise\n"
    "this command starts the browser itself and stays until the browser's windows are\n"
    "closed or it is interrupted (Ctrl+C).\n";

constexpr std::string_view kGenerateHelp =
    "Usage: kestrelyn-cli generate [--length N] [--count N] [--set 0..5]\n"
    "\n"
    "Prints random passwords, one per line, from the system's random source.\n"
    "  --length  characters per password, 4 to 1024 (8)\n"
    "  --count   how many, 1 to 1000 (10)\n"
    "  --set     0 uppercase [A-Z] (the default), 1 lowercase [a-z], 2 numeric [0-9],\n"
    "            3 all of [A-Z] [a-z] [0-9], 4 special characters, 5 all of them and\n"
    "            accented letters and signs\n"
    "No profile is needed.\n";

constexpr std::string_view kAuditHelp =
    "Usage: kestrelyn-cli audit [--json]\n"
    "\n"
    "Rates every site's stored login and password as the Security Audit does: \"Secure\"\n"
    "from 3 of the 5 points (uppercase, lowercase, digit, symbol, 7 characters or more),\n"
    "otherwise \"Not Secure\", and marks passwords that another site uses too.\n"
    "\n"
    "--json prints an array of objects:\n"
    "  {\"name\": \"Bank\", \"path\": \"/Finance/Bank\", \"login\": \"Secure\",\n"
    "   \"password\": \"Not Secure\", \"reused\": false, \"damaged\": false}\n"
    "where a damaged site (its values cannot be decrypted) has \"(damaged)\" as both ratings.\n";

constexpr std::string_view kTimeSavedHelp =
    "Usage: kestrelyn-cli timesaved [--seconds S] [--json]\n"
    "\n"
    "Adds up the automatic logins of every site and the time they saved, for S seconds per\n"
    "manual login (5 when not given or 0).\n"
    "\n"
    "--json prints one object:\n"
    "  {\"logins\": 3, \"secondsPerLogin\": 60, \"days\": 0, \"hours\": 0, \"minutes\": 3, \"seconds\": 0}\n";

constexpr std::string_view kExportHelp =
    "Usage: kestrelyn-cli export DIR [SITE...]\n"
    "\n"
    "Writes the sites (all of them, or the ones named) as plain site files into DIR, to be\n"
    "imported on another machine or profile. The files hold the passwords in plain text\n"
    "and are readable by you only. DIR may not lie in the profile's folder.\n";

constexpr std::string_view kImportHelp =
    "Usage: kestrelyn-cli import DIR|FILE.csv [--overwrite|--skip]\n"
    "\n"
    "Imports every plain site file below DIR into the root of the sites tree, encrypted\n"
    "with this profile's key; or the logins of another password manager's or browser's CSV\n"
    "export, each into a folder named after its group. A site file whose name is taken\n"
    "is asked about on the terminal, or replaced (--overwrite) or kept (--skip). Sites\n"
    "that could not be imported are listed on standard error, one per line.\n";

constexpr std::string_view kBlockHelp =
    "Usage: kestrelyn-cli block list\n"
    "       kestrelyn-cli block add URL\n"
    "       kestrelyn-cli block remove N\n"
    "       kestrelyn-cli block clear [--yes]\n"
    "\n"
    "The addresses for which the program never offers to save a site. 'list' prints them\n"
    "as \"N<TAB>URL\" in the order they were blocked; 'remove N' removes number N and\n"
    "renumbers the ones after it; 'clear' asks first unless --yes is given.\n";

} // namespace

int Fail(std::string_view reason)
{
    PrintError(reason);
    return kFailed;
}

const std::vector<Command>& Commands()
{
    static const std::vector<Command> commands = {
        {"init",
         "create the profile of this account",
         kInitHelp,
         {kHelp, {"dir", true}, {"login-choice", true}, {"no-categories"}, {"login", true}, kPasswordStdin},
         false,
         RunInit},
        {"sites",
         "list the sites of the tree",
         kSitesHelp,
         {kHelp, {"folder", true}, kJson, kPasswordStdin},
         true,
         RunSites},
        {"show",
         "show one site's details",
         kShowHelp,
         {kHelp, {"reveal"}, kJson, kPasswordStdin},
         true,
         RunShow},
        {"search",
         "find sites by name, address or login",
         kSearchHelp,
         {kHelp, kJson, kPasswordStdin},
         true,
         RunSearch},
        {"login",
         "log into sites",
         kLoginHelp,
         {kHelp, {"folder", true}, {"hotkey", true}, kPasswordStdin},
         true,
         RunLogin},
        {"generate",
         "make random passwords",
         kGenerateHelp,
         {kHelp, {"length", true}, {"count", true}, {"set", true}},
         false,
         RunGenerate},
        {"audit",
         "rate the stored logins and passwords",
         kAuditHelp,
         {kHelp, kJson, kPasswordStdin},
         true,
         RunAudit},
        {"timesaved",
         "the time automatic logins saved",
         kTimeSavedHelp,
         {kHelp, {"seconds", true}, kJson, kPasswordStdin},
         true,
         RunTimeSaved},
        {"export", "write sites as plain site files", kExportHelp, {kHelp, kPasswordStdin}, true, RunExport},
        {"import",
         "read plain site files or a CSV export",
         kImportHelp,
         {kHelp, {"overwrite"}, {"skip"}, kPasswordStdin},
         true,
         RunImport},
        {"block", "the blocked sites list", kBlockHelp, {kHelp, {"yes"}, kPasswordStdin}, true, RunBlock},
    };
    return commands;
}

} // namespace kv::cli
