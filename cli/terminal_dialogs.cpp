#include "cli/terminal_dialogs.h"

#include "startup/create_login_dialog.h"
#include "startup/login_dialog.h"
#include "support/wipe_secret.h"

#include <algorithm>
#include <cstdio>

namespace kv::cli {
namespace {

// A message box's line breaks would split one message over several lines.
std::string OneLine(std::string_view text)
{
    std::string line(text);
    std::replace(line.begin(), line.end(), '\r', ' ');
    std::replace(line.begin(), line.end(), '\n', ' ');
    return line;
}

bool SaysYes(const std::string& answer)
{
    return answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes" || answer == "YES";
}

} // namespace

void PrintError(std::string_view text)
{
    const std::string line = "kestrelyn-cli: " + OneLine(text) + "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
}

void TerminalDialogs::message(std::string_view text, std::string_view title, Icon)
{
    PrintError(title.empty() ? std::string(text) : std::string(title) + " " + std::string(text));
}

Dialogs::Answer TerminalDialogs::ask(std::string_view text, Buttons buttons, Icon, std::string_view)
{
    const bool okCancel = buttons == Buttons::OK || buttons == Buttons::OKCancel;
    const Answer yes = okCancel ? Answer::OK : Answer::Yes;
    const Answer no = okCancel ? Answer::Cancel : Answer::No;
    switch (questions_) {
    case Questions::Yes:
        return yes;
    case Questions::No:
        return no;
    case Questions::Ask:
        break;
    }
    // Without a terminal nothing is agreed to.
    const auto answer = terminal_.readLine(OneLine(text) + " [y/N] ");
    return answer && SaysYes(*answer) ? yes : no;
}

std::optional<std::string> TerminalDialogs::input(std::string_view prompt, std::string_view, std::string_view)
{
    return terminal_.readLine(OneLine(prompt) + " ");
}

std::optional<std::filesystem::path> TerminalDialogs::chooseFolder(std::string_view,
                                                                   const std::filesystem::path&)
{
    return std::nullopt;
}

void TerminalDialogs::showWizard(FirstRunWizard&) {}

void TerminalDialogs::showSaveSite(SaveSiteDialog&) {}

std::optional<std::string> TerminalDialogs::readPassword(std::string_view prompt)
{
    if (passwordsFromStandardInput_)
        return ReadStandardInputLine();
    return terminal_.readSecret(prompt);
}

void TerminalDialogs::showLogin(LoginDialog& dialog)
{
    if (!passwordsFromStandardInput_ && !terminal_.available()) {
        PrintError("this profile asks for its login: run on a terminal or give --password-stdin");
        return;
    }
    if (!passwordsFromStandardInput_)
        terminal_.say(dialog.caption());
    std::string login = dialog.initialLogin();
    while (!dialog.Passed) {
        if (login.empty() && !passwordsFromStandardInput_)
            login = terminal_.readLine("Login: ").value_or("");
        auto password = readPassword("Pass for " + login + ": ");
        if (!password)
            return;
        dialog.cmdYes_Click(login, *password);
        WipeSecret(*password);
    }
}

void TerminalDialogs::showCreateLogin(CreateLoginDialog& dialog)
{
    const auto login = presetLogin_ ? presetLogin_ : terminal_.readLine("Login: ");
    if (!login) {
        PrintError("no login given: give --login or run on a terminal");
        return;
    }
    auto password = readPassword("Pass: ");
    auto confirmed = passwordsFromStandardInput_ ? password : readPassword("Confirm pass: ");
    if (!password || !confirmed) {
        PrintError("no password given");
        return;
    }
    dialog.cmdOK_Click(*login, *password, *confirmed);
    WipeSecret(*password);
    WipeSecret(*confirmed);
}

} // namespace kv::cli
