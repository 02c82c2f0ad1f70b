#pragma once
// Finding login forms in a document snapshot: the password field rule, the walk back to
// its login field, and the scan of a page and its readable frames for the last of them.
#include "browser/automation.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kv {

// The facts one scan of a page collects.
struct LoginCandidate {
    bool passwordFound = false;
    std::string formAction;
    std::string formName;
    std::string formMethod;
    std::string passwordValue;
    std::string passwordName;
    std::string loginValue;
    std::string loginName;
};

// Whether the scan also reads the action, name and method of the form that holds the field.
enum class FormFacts { Skip, Record };

// Login pages name their user field as text, e-mail or telephone input; all three are typed in.
bool IsTextLikeField(const DomElement& element);

// An INPUT whose type is "password".
bool IsPasswordField(const DomElement& element);

// The login field of the password field at `passwordIndex`: the nearest earlier visible
// text-like input ("text", "email", "tel"), else element 0. Never a hidden input, a decoy
// nobody sees, or the password field itself: then the form has no login field.
std::optional<std::size_t> LoginFieldIndex(const std::vector<DomElement>& elements,
                                           std::size_t passwordIndex);

// A form's action, name or method; when an element of that name hides the property
// ("[object]"), the attribute of that name instead.
std::string FormAction(const DomForm& form);
std::string FormName(const DomForm& form);
std::string FormMethod(const DomForm& form);

// A form for making an account or changing a password rather than signing in: a password
// field marked as a new one, or two visible password fields none of which is marked as the
// current password (a new password and its confirmation).
bool IsSignUpForm(const DomForm& form);

// Every form of the document, then every readable frame; the last password field wins,
// so one in a frame overrides one in the document itself. A visible field of a login form
// wins over one of a sign-up form, and either over a decoy nobody sees.
LoginCandidate ScanPage(const DocumentSnapshot& document, FormFacts formFacts);

// Any password field in any form of the document itself (frames are not searched).
bool CHECKFORPASSWORDFIELD(const DocumentSnapshot& document);

} // namespace kv
