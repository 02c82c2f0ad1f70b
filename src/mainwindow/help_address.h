#pragma once
// Addresses of the maker's pages that the main window opens.
#include <string>

namespace kv {

// Each of the three numbers as its last three digits, zero-padded: 2.0.7 gives "002000007".
std::string VersionQueryText(int major, int minor, int revision);
// The help page of bar position 0 to 9 with "?version=" and the version text; "" for no area.
std::string HelpAddress(int position, const std::string& versionText);
std::string NewsAddress();
std::string HomeAddress();
// "Version " and the program's numbers joined by ".".
std::string VersionLabel(int major, int minor, int revision);

} // namespace kv
