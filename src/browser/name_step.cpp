#include "browser/name_step.h"

#include "browser/page_scan.h"
#include "support/ascii_text.h"

#include <algorithm>
#include <vector>

namespace kv {
namespace {

bool markedAsLoginName(const DomElement& element)
{
    return element.autocomplete.find("username") != std::string::npos ||
           element.autocomplete.find("email") != std::string::npos;
}

} // namespace

std::optional<NameStep> NameStepOf(const DocumentSnapshot& document)
{
    std::vector<const DomElement*> filled;
    for (const DomElement& element : document.All) {
        if (!EqualsIgnoringCase(element.Tagname, "INPUT") || !element.visible)
            continue;
        if (IsPasswordField(element))
            return std::nullopt;
        if (IsTextLikeField(element) && !element.Value.empty())
            filled.push_back(&element);
    }
    const auto marked = std::find_if(filled.begin(), filled.end(),
                                     [](const DomElement* element) { return markedAsLoginName(*element); });
    const DomElement* field = nullptr;
    if (marked != filled.end())
        field = *marked;
    else if (filled.size() == 1 && !filled.front()->Name.empty())
        field = filled.front();
    if (!field)
        return std::nullopt;
    return NameStep{document.url, document.title, field->Name, field->Value};
}

} // namespace kv
