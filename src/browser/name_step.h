#pragma once
// Sites that ask for the login name on one page and for the password on the next: the site
// is the page that asked for the name, and its login field is that page's name field.
#include "browser/automation.h"

#include <optional>
#include <string>

namespace kv {

struct NameStep {
    std::string url;       // the page that asked for the name
    std::string title;     // its title
    std::string fieldName; // its name field (empty when only the page's marking finds it)
    std::string value;     // the name sent in it
};

// The login name a page without a visible password field sends: its visible field marked as
// the user name or e-mail, else its only visible, named text, e-mail or telephone field that
// holds a value. nullopt when the page is no such page (a search form, a page of several fields).
std::optional<NameStep> NameStepOf(const DocumentSnapshot& document);

} // namespace kv
