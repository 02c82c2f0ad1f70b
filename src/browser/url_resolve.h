#pragma once
// Turns a form's action as the page wrote it ("/login", "auth.php", "?next=1") into an
// address a new window can post to, relative to the page it was saved from.
#include <string>
#include <string_view>

namespace kv {

// The reference itself when it is already absolute; base when it is empty.
std::string ResolveAgainst(std::string_view base, std::string_view reference);

} // namespace kv
