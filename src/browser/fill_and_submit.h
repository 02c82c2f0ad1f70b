#pragma once
// Filling a saved login into a document and pressing its submit control. Fields are found
// by their place relative to the password field, not by the names saved with the site.
#include "browser/automation.h"

#include <filesystem>

namespace kv {

// Puts the saved password into the first password field of every form that has one and the
// saved login into its login field, then submits. The document is the snapshot the writes are
// addressed by. True when at least one password field took the password.
bool FillLoginForm(Browser& browser, const DocumentSnapshot& document, const std::filesystem::path& siteFile);

// Presses the first control after the password field: a submit input or submit button (a
// named one is clicked, an unnamed one submits the form), else an image or button input,
// else a "javascript:" link. Controls before the password field never count.
void SubmitLoginForm(Browser& browser, const DocumentSnapshot& document);

} // namespace kv
