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

bool isBlank(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](unsigned char c) { return c == ' '; });
}

bool isTag(const DomElement& element, std::string_view tag)
{
    return std::equal(element.Tagname.begin(), element.Tagname.end(), tag.begin(), tag.end(),
                      [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; });
}

// The form an unnamed submit control stands for: the last one holding a password input.
std::optional<NodeRef> formToSubmit(const DocumentSnapshot& document)
{
    std::size_t index = 0;
    for (std::size_t i = 0; i < document.Forms.size(); ++i) {
        const auto& elements = document.Forms[i].elements;
        if (std::any_of(elements.begin(), elements.end(),
                        [](const DomElement& element) { return element.Type == "password"; }))
            index = i;
    }
    if (index >= document.Forms.size())
        return std::nullopt;
    return document.Forms[index].ref;
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

bool FillLoginForm(Browser& browser, const DocumentSnapshot& document, const std::filesystem::path& siteFile)
{
    const auto password = ReadSecureValue(kMainSection, FORMPASSVALUE, siteFile);
    const auto login = ReadSecureValue(kMainSection, FORMLOGINVALUE, siteFile);
    if (!password || !login)
        return false;

    bool filled = false;
    for (const DomForm& form : document.Forms) {
        const auto passwordField = std::find_if(form.elements.begin(), form.elements.end(), IsPasswordField);
        if (passwordField == form.elements.end())
            continue;
        filled = browser.setValue(passwordField->ref, *password) || filled;
        const auto position = static_cast<std::size_t>(passwordField - form.elements.begin());
        if (const auto loginField = LoginFieldIndex(form.elements, position))
            browser.setValue(form.elements[*loginField].ref, *login);
    }
    SubmitLoginForm(browser, document);
    return filled;
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
            passwordIndex = k;
            continue;
        }
        if (!passwordIndex || k <= *passwordIndex)
            continue;
        if (input.Type == "submit") {
            if (!isBlank(input.Name)) {
                browser.click(input.ref);
            } else if (const auto form = formToSubmit(document)) {
                browser.submit(*form);
            }
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
