#pragma once
// Texts the main window shows, quoted once for the window and its tests.
#include <string_view>

namespace kv {

// The maker's web site: the help, news and home pages are paths below it.
inline constexpr std::string_view kMakerSite = "https://www.kestrelyn.example";
inline constexpr std::string_view kNewsPath = "/news.asp";

inline constexpr std::string_view kApplicationTitle = "Kestrelyn Vormaplex";
inline constexpr std::string_view kMainWindowCaption = "Kestrelyn Vormaplex with Velotrip technology";
inline constexpr std::string_view kExitQuestion = "Are you sure you want to close Kestrelyn Vormaplex?";
inline constexpr std::string_view kVersionLabelPrefix = "Version ";

inline constexpr std::string_view kAboutThanks =
    "Kestrelyn would personally like to thank you for your commitment and loyalty to making this a "
    "fantastic product to use on a daily basis.";
inline constexpr std::string_view kAboutCompiled = "Compiled on January 16th, 2007";
inline constexpr std::string_view kNewsLinkIntro =
    "If the news has not correctly launched, please click the link below:";

} // namespace kv
