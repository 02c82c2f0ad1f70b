#include "browser/implicit_forms.h"

#include "browser/page_scan.h"
#include "support/ascii_text.h"

#include <vector>

namespace kv {
namespace {

bool isControl(const DomElement& element)
{
    return EqualsIgnoringCase(element.Tagname, "INPUT") || EqualsIgnoringCase(element.Tagname, "BUTTON") ||
           EqualsIgnoringCase(element.Tagname, "SELECT") || EqualsIgnoringCase(element.Tagname, "TEXTAREA");
}

bool isButton(const DomElement& element)
{
    return EqualsIgnoringCase(element.Tagname, "BUTTON") ||
           (EqualsIgnoringCase(element.Tagname, "INPUT") &&
            (element.Type == "submit" || element.Type == "button" || element.Type == "image"));
}

} // namespace

void AddImplicitForms(DocumentSnapshot& document)
{
    std::vector<std::size_t> loose; // positions in All of the controls outside every form
    for (std::size_t i = 0; i < document.All.size(); ++i)
        if (document.All[i].formIndex < 0 && isControl(document.All[i]))
            loose.push_back(i);

    std::size_t start = 0; // first loose control the next implicit form may take
    for (std::size_t k = 0; k < loose.size(); ++k) {
        const DomElement& password = document.All[loose[k]];
        if (!IsPasswordField(password) || !password.visible)
            continue;
        std::size_t end = k + 1;
        while (end < loose.size() && !isButton(document.All[loose[end]]))
            ++end;
        if (end < loose.size())
            ++end; // the button belongs to it
        DomForm form;
        form.index = static_cast<int>(document.Forms.size());
        for (std::size_t m = start; m < end; ++m) {
            DomElement& element = document.All[loose[m]];
            element.formIndex = form.index;
            form.elements.push_back(element);
        }
        document.Forms.push_back(std::move(form));
        start = end;
        k = end - 1;
    }
}

} // namespace kv
