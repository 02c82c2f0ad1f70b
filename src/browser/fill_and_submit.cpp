#include "browser/fill_and_submit.h"

#include "browser/page_scan.h"
#include "storage/secure_store.h"
#include "storage/site_file.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string_view>

namespace kv {
namespace {

bool isTag(const DomElement& element, std::string_view tag)
{
    return std::equal(element.Tagname.begin(), element.Tagname.end(), tag.begin(), tag.end(),
                      [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; });
}

// The visible field of that saved name: a password field, or any other input.
std::optional<std::size_t> namedField(const std::vector<DomElement>& elements, const std::string& name,
                                      bool password)
{
    if (name.empty())
        return std::nullopt;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const DomElement& element = elements[i];
        if (element.Name == name && element.visible && isTag(element, "INPUT") &&
            IsPasswordField(element) == password && element.Type != "hidden")
            return i;
    }
    return std::nullopt;
}

std::optional<std::size_t> firstVisiblePassword(const std::vector<DomElement>& elements)
{
    for (std::size_t i = 0; i < elements.size(); ++i)
        if (IsPasswordField(elements[i]) && elements[i].visible)
            return i;
    return std::nullopt;
}

// The login name asked for on its own: the field saved with the site, else one the page marks
// as the user name.
bool isIdentifierField(const DomElement& element, const std::string& loginName)
{
    if (!element.visible || !isTag(element, "INPUT") || IsPasswordField(element) || element.Type == "hidden")
        return false;
    if (!loginName.empty() && element.Name == loginName)
        return true;
    return element.autocomplete.find("username") != std::string::npos;
}

// Fills the login name of a page that asks for it first and presses the control after it.
bool sendIdentifier(Browser& browser, const DocumentSnapshot& document, const std::string& loginName,
                    const std::string& login)
{
    const auto& all = document.All;
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (!isIdentifierField(all[i], loginName))
            continue;
        if (!browser.setValue(all[i].ref, login))
            return false;
        for (std::size_t k = i + 1; k < all.size(); ++k) {
            const DomElement& control = all[k];
            if (isTag(control, "BUTTON") ||
                (isTag(control, "INPUT") &&
                 (control.Type == "submit" || control.Type == "button" || control.Type == "image"))) {
                browser.click(control.ref);
                return true;
            }
        }
        return true;
    }
    return false;
}

// A link whose address runs a script, after the first password input, as the last resort.
std::optional<NodeRef> scriptLinkAfterPassword(const DocumentSnapshot& document)
{
    bool passwordSeen = false;
    for (const DomElement& element : document.All) {
        if (isTag(element, "A") && passwordSeen && element.Href.find("javascript:") != std::string::npos)
            return element.ref;
        if (isTag(element, "INPUT") && element.Type == "password")
            passwordSeen = true;
    }
    return std::nullopt;
}

} // namespace

FillResult FillLoginForm(Browser& browser, const DocumentSnapshot& document,
                         const std::filesystem::path& siteFile, bool sendLoginName)
{
    const auto password = ReadSecureValue(kMainSection, FORMPASSVALUE, siteFile);
    const auto login = ReadSecureValue(kMainSection, FORMLOGINVALUE, siteFile);
    if (!password || !login)
        return FillResult::Nothing;
    const std::string passwordName = ReadSecureValue(kMainSection, FORMPASSNAME, siteFile).value_or("");
    const std::string loginName = ReadSecureValue(kMainSection, FORMLOGINNAME, siteFile).value_or("");

    bool filled = false;
    for (const DomForm& form : document.Forms) {
        // A sign-up form beside the login form is left alone.
        if (IsSignUpForm(form))
            continue;
        const auto& elements = form.elements;
        // The fields saved with the site where the page has them; else the first visible
        // password field and the login field found from it.
        auto passwordField = namedField(elements, passwordName, true);
        if (!passwordField)
            passwordField = firstVisiblePassword(elements);
        if (!passwordField)
            continue;
        filled = browser.setValue(elements[*passwordField].ref, *password) || filled;
        auto loginField = namedField(elements, loginName, false);
        if (!loginField)
            loginField = LoginFieldIndex(elements, *passwordField);
        if (loginField)
            browser.setValue(elements[*loginField].ref, *login);
    }
    if (filled) {
        SubmitLoginForm(browser, document);
        return FillResult::Filled;
    }
    return sendLoginName && sendIdentifier(browser, document, loginName, *login) ? FillResult::IdentifierSent
                                                                                 : FillResult::Nothing;
}

void SubmitLoginForm(Browser& browser, const DocumentSnapshot& document)
{
    // <button> elements take part at their place among the inputs: a submit button as a
    // submit input, a plain button (show-password toggles and the like) not at all.
    const auto inputs = document.tags({"INPUT", "BUTTON"});
    std::optional<std::size_t> passwordIndex;
    for (std::size_t k = 0; k < inputs.size(); ++k) {
        const DomElement& input = *inputs[k];
        const bool isButton = isTag(input, "BUTTON");
        if (!isButton && input.Type == "password") {
            if (input.visible)
                passwordIndex = k;
            continue;
        }
        if (!passwordIndex || k <= *passwordIndex)
            continue;
        // The page's own control is pressed, named or not: its submit handlers must run (a form
        // sent past them may go out by GET with the password in its address).
        if (input.Type == "submit") {
            browser.click(input.ref);
            return;
        }
        if (!isButton && (input.Type == "image" || input.Type == "button")) {
            browser.click(input.ref);
            return;
        }
    }
    if (const auto link = scriptLinkAfterPassword(document))
        browser.click(*link);
}

} // namespace kv
