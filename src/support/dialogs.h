#pragma once
// Everything the system ever asks or tells the user goes through this interface.
// The Qt implementation shows real message boxes and forms; tests script the answers.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

// YesNoDefaultNo: a question whose Yes destroys something, so that Enter keeps it.
enum class Buttons { OK, OKCancel, YesNo, YesNoCancel, YesNoDefaultNo };
enum class Icon { None, Information, Exclamation, Critical, Question };

// Start-up forms: each shows the logic object it is given and leaves its results there.
class FirstRunWizard;
class LoginDialog;
class CreateLoginDialog;
// The save-site form frmYes: its logic holds the page, the chosen folder and the name.
class SaveSiteDialog;

class Dialogs {
public:
    enum class Answer { OK, Cancel, Yes, No };

    virtual ~Dialogs() = default;

    // A message box with an OK button; an empty title means the application's title.
    virtual void message(std::string_view text, std::string_view title = {}, Icon icon = Icon::None) = 0;
    virtual Answer ask(std::string_view text, Buttons buttons, Icon icon, std::string_view title = {}) = 0;
    // An input box; nullopt when cancelled.
    virtual std::optional<std::string> input(std::string_view prompt, std::string_view title = {},
                                             std::string_view initial = {}) = 0;
    virtual std::optional<std::filesystem::path> chooseFolder(std::string_view title,
                                                              const std::filesystem::path& start) = 0;

    // Modal forms with results get one method each below, returning their outputs.
    // frmWizard; returns when it finishes or is closed (results() then incomplete).
    virtual void showWizard(FirstRunWizard& wizard) = 0;
    // frmLoginSB or frmLoginWIN; returns when it closes (Passed tells how).
    virtual void showLogin(LoginDialog& dialog) = 0;
    // frmCreateLogin; returns when it closes (NewLogin/NewPassword empty when cancelled).
    virtual void showCreateLogin(CreateLoginDialog& dialog) = 0;
    // frmYes; returns when it closes (FolderPath empty when cancelled).
    virtual void showSaveSite(SaveSiteDialog& dialog) = 0;
};

} // namespace kv
