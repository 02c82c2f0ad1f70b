#pragma once
// The print page: a table of every site (name, domain, login, password) for keeping on
// paper. Every value is HTML-escaped, so a stored name or login with markup shows as text.
#include <filesystem>
#include <string>
#include <string_view>

namespace kv {

std::string HtmlEscape(std::string_view text);

// Rows in the order of the recursive search; a site that cannot be decrypted shows its
// file's name and "(damaged)".
std::string BuildPrintPage(const std::filesystem::path& sitesDirectory);

} // namespace kv
