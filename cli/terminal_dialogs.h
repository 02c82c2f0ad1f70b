#pragma once
// The program's dialogs on a terminal: messages become one line on standard error,
// questions are asked on the terminal (or answered as the command line says), and the
// login dialogs read the password without echo, or from standard input for scripts.
#include "cli/terminal.h"
#include "support/dialogs.h"

#include <optional>
#include <string>

namespace kv::cli {

class TerminalDialogs : public Dialogs {
public:
    // How questions are answered: on the terminal, or always the same way.
    enum class Questions { Ask, Yes, No };

    TerminalDialogs(Terminal& terminal, bool passwordsFromStandardInput)
        : terminal_(terminal), passwordsFromStandardInput_(passwordsFromStandardInput)
    {
    }

    void answerQuestions(Questions answer) { questions_ = answer; }
    // The login of a new own login, given on the command line.
    void presetLogin(std::string login) { presetLogin_ = std::move(login); }

    void message(std::string_view text, std::string_view title = {}, Icon icon = Icon::None) override;
    Answer ask(std::string_view text, Buttons buttons, Icon icon, std::string_view title = {}) override;
    std::optional<std::string> input(std::string_view prompt, std::string_view title = {},
                                     std::string_view initial = {}) override;
    std::optional<std::filesystem::path> chooseFolder(std::string_view title,
                                                      const std::filesystem::path& start) override;
    void showWizard(FirstRunWizard& wizard) override;
    void showLogin(LoginDialog& dialog) override;
    void showCreateLogin(CreateLoginDialog& dialog) override;
    // A browser driven from the terminal never saves sites: the program does that.
    void showSaveSite(SaveSiteDialog& dialog) override;

private:
    std::optional<std::string> readPassword(std::string_view prompt);

    Terminal& terminal_;
    bool passwordsFromStandardInput_;
    Questions questions_ = Questions::Ask;
    std::optional<std::string> presetLogin_;
};

// "kestrelyn-cli: " + text on standard error, one line.
void PrintError(std::string_view text);

} // namespace kv::cli
