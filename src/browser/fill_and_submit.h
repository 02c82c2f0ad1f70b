#pragma once
// Filling a saved login into a document and pressing its submit control. The fields saved
// with the site are filled where the page has them; otherwise fields are found by their
// place relative to the password field. Decoys nobody sees are never filled.
#include "browser/automation.h"

#include <filesystem>

namespace kv {

enum class FillResult {
    Nothing,        // no field of the login on the page
    Filled,         // the password went in and the form was submitted
    IdentifierSent, // a page asking for the login name first: it went in and "Next" was pressed
};

// Puts the saved password into the first visible password field of every login form (sign-up
// forms are left alone) and the saved login into its login field, then submits. A page that
// asks for the login name first (no password field to be seen, but the saved login field or
// one marked as a user name) gets the login and its next control pressed. The document is
// the snapshot the writes are addressed by.
FillResult FillLoginForm(Browser& browser, const DocumentSnapshot& document,
                         const std::filesystem::path& siteFile, bool sendLoginName = true);

// Presses the first control after the visible password field: a submit input or submit
// button, else an image or button input, else a "javascript:" link; the page's handlers run
// as for a click of the user's. Controls before the password field never count.
void SubmitLoginForm(Browser& browser, const DocumentSnapshot& document);

} // namespace kv
