#pragma once
// The sections and keys of a site file (one saved login, extension ".QVR").
// Every value in it is stored encrypted; an absent key reads as "".
#include <array>
#include <string_view>

namespace kv {

inline constexpr std::string_view kSiteFileExtension = ".QVR";

inline constexpr std::string_view kMainSection = "Main";
inline constexpr std::string_view kStatsSection = "Stats";

// Section "Main"
inline constexpr std::string_view SITEFRIENDLYNAME = "SITEFRIENDLYNAME";
inline constexpr std::string_view SITETITLE = "SITETITLE";
inline constexpr std::string_view SITEURL = "SITEURL";
inline constexpr std::string_view SITEDOMAIN = "SITEDOMAIN";
inline constexpr std::string_view FORMNAME = "FORMNAME";
inline constexpr std::string_view FORMMETHOD = "FORMMETHOD";
inline constexpr std::string_view FORMACTIONURL = "FORMACTIONURL";
inline constexpr std::string_view FORMLOGINNAME = "FORMLOGINNAME";
inline constexpr std::string_view FORMLOGINVALUE = "FORMLOGINVALUE";
inline constexpr std::string_view FORMPASSNAME = "FORMPASSNAME";
inline constexpr std::string_view FORMPASSVALUE = "FORMPASSVALUE";
inline constexpr std::string_view VELOTRIP = "VELOTRIP";
inline constexpr std::string_view SITEPOSTDATA = "SITEPOSTDATA";
inline constexpr std::string_view AUTOLOGSTATUS = "AUTOLOGSTATUS";
// The content type of SITEPOSTDATA when a page's script sent the login ("application/json");
// absent for a form's own post.
inline constexpr std::string_view SITEPOSTTYPE = "SITEPOSTTYPE";

// Section "Stats": the decimal count of successful automatic logins.
inline constexpr std::string_view SUCCESS = "SUCCESS";

// VELOTRIP "1" posts SITEPOSTDATA straight to FORMACTIONURL; anything else fills the form.
inline constexpr std::string_view kVelotripOn = "1";
inline constexpr std::string_view kVelotripOff = "0";
// AUTOLOGSTATUS as capture writes it.
inline constexpr std::string_view kAutoLogStatusYes = "Yes";

// The "Main" keys in the order export and import copy them; SITEPOSTTYPE last, so that a
// form's site exports as it always did.
inline constexpr std::array<std::string_view, 15> kMainKeys = {
    SITEFRIENDLYNAME, SITETITLE,     SITEURL,       SITEDOMAIN,     FORMNAME,
    FORMMETHOD,       FORMACTIONURL, FORMLOGINNAME, FORMLOGINVALUE, FORMPASSNAME,
    FORMPASSVALUE,    VELOTRIP,      SITEPOSTDATA,  AUTOLOGSTATUS,  SITEPOSTTYPE,
};

// One row of the site details grid: where the value lives and its caption.
struct SiteDetailField {
    std::string_view section;
    std::string_view key;
    std::string_view label;
};

// The site details grid, in the order it shows them; only the friendly name,
// the login and the password are editable there.
inline constexpr std::array<SiteDetailField, 12> kSiteDetailFields = {{
    {kMainSection, SITEFRIENDLYNAME, "Friendly name"},
    {kMainSection, SITETITLE, "Title"},
    {kMainSection, SITEURL, "URL"},
    {kMainSection, SITEDOMAIN, "Domain"},
    {kMainSection, FORMNAME, "Form name"},
    {kMainSection, FORMMETHOD, "Form method"},
    {kMainSection, FORMACTIONURL, "Form action"},
    {kMainSection, FORMLOGINNAME, "Form login name"},
    {kMainSection, FORMLOGINVALUE, "Login"},
    {kMainSection, FORMPASSNAME, "Form password name"},
    {kMainSection, FORMPASSVALUE, "Password"},
    {kStatsSection, SUCCESS, "Amount of times used"},
}};

} // namespace kv
