#include "browser/page_scan.h"

#include "support/ascii_text.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace kv {
namespace {

constexpr std::string_view kHiddenObject = "[object]";

// Login pages name their user field as text, e-mail or telephone input; all three are typed in.
bool isTextLike(const DomElement& element)
{
    return EqualsIgnoringCase(element.Type, "text") || EqualsIgnoringCase(element.Type, "email") ||
           EqualsIgnoringCase(element.Type, "tel");
}

std::string formProperty(const DomForm& form, const std::string& property, std::string_view attribute)
{
    if (property != kHiddenObject)
        return property;
    return form.Attributes(attribute).value_or("");
}

void scanForms(const DocumentSnapshot& document, FormFacts formFacts, LoginCandidate& found)
{
    for (const DomForm& form : document.Forms) {
        for (std::size_t j = 0; j < form.elements.size(); ++j) {
            const DomElement& element = form.elements[j];
            if (!IsPasswordField(element))
                continue;
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

bool IsPasswordField(const DomElement& element)
{
    return EqualsIgnoringCase(element.Tagname, "INPUT") && EqualsIgnoringCase(element.Type, "password");
}

std::optional<std::size_t> LoginFieldIndex(const std::vector<DomElement>& elements, std::size_t passwordIndex)
{
    if (passwordIndex >= elements.size())
        return std::nullopt;
    std::size_t k = passwordIndex;
    while (k != 0 && !isTextLike(elements[k]))
        --k;
    // A hidden token is never typed in, and filling the password field with the login would
    // break the very login being saved.
    if (k == passwordIndex || EqualsIgnoringCase(elements[k].Type, "hidden"))
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
    scanForms(document, formFacts, found);
    for (const FrameSnapshot& frame : document.frames) {
        if (frame.accessible)
            scanForms(frame.document, formFacts, found);
    }
    return found;
}

bool CHECKFORPASSWORDFIELD(const DocumentSnapshot& document)
{
    return std::any_of(document.Forms.begin(), document.Forms.end(), [](const DomForm& form) {
        return std::any_of(form.elements.begin(), form.elements.end(), IsPasswordField);
    });
}

} // namespace kv
