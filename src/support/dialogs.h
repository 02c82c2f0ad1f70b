#pragma once
// Everything the system ever asks or tells the user goes through this interface.
// The Qt implementation shows real message boxes and forms; tests script the answers.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

enum class Buttons { OK, OKCancel, YesNo, YesNoCancel };
enum class Icon { None, Information, Exclamation, Critical, Question };

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
};

} // namespace kv
