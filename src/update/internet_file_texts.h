#pragma once
// Texts and fixed values of the download control, quoted once for the control and its tests.
#include <string_view>

namespace kv {

inline constexpr std::string_view kInternetFileUserAgent =
    "Mozilla/4.0 (compatible; MSIE 5.0; Windows NT; DigExt)";

inline constexpr std::string_view kCouldNotReadUrl = "Could not read Url";
// The local file could not be created or written (the control left this uncaught); the
// path follows.
inline constexpr std::string_view kCouldNotWriteFile = "Could not write the file ";

// The message box of a status other than 200, or "" for a status that has none.
std::string_view HttpStatusMessage(int status);

} // namespace kv
