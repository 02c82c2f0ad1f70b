#pragma once
// Login fields that pages place outside any <form>: a password input with the text input
// before it and the button after it count as one form of their own, for capture and fill.
#include "browser/automation.h"

namespace kv {

// Appends one implicit form to Forms for every visible password input outside all forms: the
// loose inputs since the previous such password input, up to the first button after it. The
// form has no action, name or method and cannot be submitted as a whole (its ref is invalid);
// its button is pressed instead.
void AddImplicitForms(DocumentSnapshot& document);

} // namespace kv
