#pragma once
// A Dialogs that records everything shown and answers from a script.
// Whoever adds a method to Dialogs adds its scripted answer and record here.
#include "support/dialogs.h"

#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace kv::test {

class ScriptedDialogs : public Dialogs {
public:
    ScriptedDialogs() = default;
    explicit ScriptedDialogs(std::initializer_list<Answer> answers) : answers_(answers) {}

    void message(std::string_view text, std::string_view title = {}, Icon = Icon::None) override
    {
        messages_.emplace_back(text);
        titles_.emplace_back(title);
    }
    Answer ask(std::string_view text, Buttons buttons, Icon, std::string_view = {}) override
    {
        asked_.emplace_back(text);
        askedButtons_.push_back(buttons);
        if (answers_.empty())
            throw std::logic_error("unscripted question: " + std::string(text));
        Answer a = answers_.front();
        answers_.pop_front();
        return a;
    }
    std::optional<std::string> input(std::string_view prompt, std::string_view = {},
                                     std::string_view = {}) override
    {
        prompts_.emplace_back(prompt);
        if (inputs_.empty())
            throw std::logic_error("unscripted input box: " + std::string(prompt));
        auto a = inputs_.front();
        inputs_.pop_front();
        return a;
    }
    std::optional<std::filesystem::path> chooseFolder(std::string_view title,
                                                      const std::filesystem::path&) override
    {
        prompts_.emplace_back(title);
        if (folders_.empty())
            throw std::logic_error("unscripted folder chooser: " + std::string(title));
        auto f = folders_.front();
        folders_.pop_front();
        return f;
    }
    // Start-up forms: the scripted step operates the form's logic as the user would.
    void showWizard(FirstRunWizard& wizard) override { nextForm(wizardSteps_, "frmWizard")(wizard); }
    void showLogin(LoginDialog& dialog) override { nextForm(loginSteps_, "login dialog")(dialog); }
    void showCreateLogin(CreateLoginDialog& dialog) override
    {
        nextForm(createLoginSteps_, "frmCreateLogin")(dialog);
    }
    void showSaveSite(SaveSiteDialog& dialog) override { nextForm(saveSiteSteps_, "frmYes")(dialog); }

    // Scripting
    void answer(Answer a) { answers_.push_back(a); }
    void type(std::optional<std::string> text) { inputs_.push_back(std::move(text)); }
    void pickFolder(std::optional<std::filesystem::path> folder) { folders_.push_back(std::move(folder)); }
    void onWizard(std::function<void(FirstRunWizard&)> step) { wizardSteps_.push_back(std::move(step)); }
    void onLogin(std::function<void(LoginDialog&)> step) { loginSteps_.push_back(std::move(step)); }
    void onCreateLogin(std::function<void(CreateLoginDialog&)> step)
    {
        createLoginSteps_.push_back(std::move(step));
    }
    void onSaveSite(std::function<void(SaveSiteDialog&)> step) { saveSiteSteps_.push_back(std::move(step)); }

    // Records
    const std::vector<std::string>& messages() const { return messages_; }
    const std::vector<std::string>& titles() const { return titles_; }
    const std::vector<std::string>& asked() const { return asked_; }
    const std::vector<Buttons>& askedButtons() const { return askedButtons_; }
    const std::vector<std::string>& prompts() const { return prompts_; }
    // The modal forms shown, in order.
    const std::vector<std::string>& forms() const { return forms_; }

private:
    std::deque<Answer> answers_;
    std::deque<std::optional<std::string>> inputs_;
    std::deque<std::optional<std::filesystem::path>> folders_;
    std::vector<std::string> messages_, titles_, asked_, prompts_, forms_;
    std::vector<Buttons> askedButtons_;
    std::deque<std::function<void(FirstRunWizard&)>> wizardSteps_;
    std::deque<std::function<void(LoginDialog&)>> loginSteps_;
    std::deque<std::function<void(CreateLoginDialog&)>> createLoginSteps_;
    std::deque<std::function<void(SaveSiteDialog&)>> saveSiteSteps_;

    template <typename Form>
    std::function<void(Form&)> nextForm(std::deque<std::function<void(Form&)>>& steps, const char* name)
    {
        forms_.emplace_back(name);
        if (steps.empty())
            throw std::logic_error(std::string("unscripted form: ") + name);
        auto step = std::move(steps.front());
        steps.pop_front();
        return step;
    }
};

} // namespace kv::test
