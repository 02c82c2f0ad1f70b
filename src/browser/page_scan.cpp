#include "browser/page_scan.h"

#include "support/ascii_text.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace kv {
namespace {

constexpr std::string_view kHiddenObject = "[object]";

std::string formProperty(const DomForm& form, const std::string& property, std::string_view attribute)
{
    if (property != kHiddenObject)
        return property;
    return form.Attributes(attribute).value_or("");
}

// How good a password field is as the login's: a visible one of a login form beats one of a
// sign-up form, which beats a decoy nobody sees.
int loginRank(const DomForm& form, const DomElement& password)
{
    if (!password.visible)
        return 0;
    return IsSignUpForm(form) ? 1 : 2;
}

void scanForms(const DocumentSnapshot& document, FormFacts formFacts, LoginCandidate& found, int& bestRank)
{
    for (const DomForm& form : document.Forms) {
        for (std::size_t j = 0; j < form.elements.size(); ++j) {
            const DomElement& element = form.elements[j];
            if (!IsPasswordField(element))
                continue;
            const int rank = loginRank(form, element);
            if (rank < bestRank)
                continue;
            bestRank = rank;
            found.passwordFound = true;
            found.passwordValue = element.Value;
            found.passwordName = element.Name;
            if (const auto login = LoginFieldIndex(form.elements, j)) {
                found.loginValue = form.elements[*login].Value;
                found.loginName = form.elements[*login].Name;
            } else {
                found.loginValue.clear();
                found.loginName.clear();
            }
            if (formFacts == FormFacts::Record) {
                found.formAction = FormAction(form);
                found.formName = FormName(form);
                found.formMethod = FormMethod(form);
            }
        }
    }
}

} // namespace

bool IsTextLikeField(const DomElement& element)
{
    return EqualsIgnoringCase(element.Type, "text") || EqualsIgnoringCase(element.Type, "email") ||
           EqualsIgnoringCase(element.Type, "tel");
}

bool IsPasswordField(const DomElement& element)
{
    return EqualsIgnoringCase(element.Tagname, "INPUT") && EqualsIgnoringCase(element.Type, "password");
}

std::optional<std::size_t> LoginFieldIndex(const std::vector<DomElement>& elements, std::size_t passwordIndex)
{
    if (passwordIndex >= elements.size())
        return std::nullopt;
    std::size_t k = passwordIndex;
    while (k != 0 && !(IsTextLikeField(elements[k]) && elements[k].visible))
        --k;
    // A hidden token or a decoy is never typed in, and filling the password field with the
    // login would break the very login being saved.
    if (k == passwordIndex || EqualsIgnoringCase(elements[k].Type, "hidden") || !elements[k].visible)
        return std::nullopt;
    return k;
}

std::string FormAction(const DomForm& form)
{
    return formProperty(form, form.Action, "action");
}

std::string FormName(const DomForm& form)
{
    return formProperty(form, form.Name, "name");
}

std::string FormMethod(const DomForm& form)
{
    return formProperty(form, form.method, "method");
}

LoginCandidate ScanPage(const DocumentSnapshot& document, FormFacts formFacts)
{
    LoginCandidate found;
    int bestRank = 0;
    scanForms(document, formFacts, found, bestRank);
    for (const FrameSnapshot& frame : document.frames) {
        if (frame.accessible)
            scanForms(frame.document, formFacts, found, bestRank);
    }
    return found;
}

bool IsSignUpForm(const DomForm& form)
{
    int passwords = 0;
    bool newPassword = false;
    bool currentPassword = false;
    for (const DomElement& element : form.elements) {
        if (!IsPasswordField(element) || !element.visible)
            continue;
        ++passwords;
        newPassword = newPassword || element.autocomplete == "new-password";
        currentPassword = currentPassword || element.autocomplete == "current-password";
    }
    // A sign-in form asking for a second secret (a PIN) marks its password as the current one;
    // a change of password asks for a new one.
    return newPassword || (passwords >= 2 && !currentPassword);
}

bool CHECKFORPASSWORDFIELD(const DocumentSnapshot& document)
{
    return std::any_of(document.Forms.begin(), document.Forms.end(), [](const DomForm& form) {
        return std::any_of(form.elements.begin(), form.elements.end(), IsPasswordField);
    });
}

} // namespace kv
