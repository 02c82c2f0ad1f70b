#pragma once
// The texts of the Tools, Time Saved and Security Audit areas and of frmChecksecure.
#include <array>
#include <string_view>

namespace kv {

// Password generator (Tools area)
inline constexpr std::string_view kGeneratorOptionsCaption = "Password Options:";
inline constexpr std::array<std::string_view, 6> kGeneratorOptionCaptions = {
    "Uppercase [A-Z]",           "Lowecase [a-z]", "Numeric [0-9]", "All above [A-Z] [a-z] [0-9]",
    "Special chars [#+=-*+/@^]", "All of above",
};
inline constexpr std::string_view kGeneratorLengthCaption = "Length:";
inline constexpr std::string_view kGeneratorCountCaption = "Number of Passwords:";
inline constexpr std::string_view kGeneratedCaption = "Passwords Generated:";
inline constexpr std::string_view kGeneratorHint = "Hint: Double click password to copy to clipboard";
inline constexpr std::string_view kGenerateButton = "Generate Password";
inline constexpr std::string_view kDefaultPasswordLength = "8";
inline constexpr std::string_view kDefaultPasswordCount = "10";
inline constexpr std::string_view kLengthTooShort = "Your password must be at least 4 characters in length.";
inline constexpr std::string_view kCountTooSmall = "Your must make at least 1 password.";
// Upper limits keep one click from filling the memory.
inline constexpr std::string_view kLengthTooLong = "Your password can be at most 1024 characters in length.";
inline constexpr std::string_view kCountTooLarge = "You can make at most 1000 passwords at a time.";

// Time Saved area
inline constexpr std::string_view kTimeSavedHint =
    "Select your average login time per site and see how much time is saved.";
inline constexpr std::array<std::string_view, 12> kSecondsPerLoginChoices = {
    "5", "10", "15", "20", "25", "30", "35", "40", "45", "50", "55", "60"};
inline constexpr std::string_view kLoggedIntoBefore = "You have logged into ";
inline constexpr std::string_view kLoggedIntoAfter = " sites automatically with Vormaplex.";
inline constexpr std::string_view kManualTimeBefore = "If the average time it takes to login manually is ";
inline constexpr std::string_view kManualTimeAfter = " seconds.";
inline constexpr std::string_view kTotalSavingsCaption = "Total time savings of:";
inline constexpr std::string_view kSavingsFooter = "By logging in automatically.";
inline constexpr std::array<std::string_view, 4> kTimeUnitCaptions = {"Days", "Hours", "Minutes", "Seconds"};

// Security Audit area
inline constexpr std::string_view kAuditHint = "Click on site to get additional details:";
inline constexpr std::string_view kAuditSiteColumn = "Site";
inline constexpr std::string_view kAuditLoginColumn = "Login";
inline constexpr std::string_view kAuditPasswordColumn = "Password";
inline constexpr std::string_view kAuditReusedColumn = "Reused";
inline constexpr std::string_view kSecure = "Secure";
inline constexpr std::string_view kNotSecure = "Not Secure";
inline constexpr std::string_view kReusedMark = "Yes";
inline constexpr std::string_view kDamagedMark = "(damaged)";

// frmChecksecure
inline constexpr std::string_view kCheckSecureCaption = "Password Security Details";
inline constexpr std::string_view kCheckSecureFrame = "Security Details";
inline constexpr std::string_view kScoreBefore = "The current password scored a";
inline constexpr std::string_view kScoreAfter = "on the scale of 1 to 5";
inline constexpr std::string_view kThisPasswordIs = "This password is :";
inline constexpr std::string_view kAttributesCaption = "This password has the following attributes:";
inline constexpr std::array<std::string_view, 5> kCriterionLabels = {
    "Contains uppercase alpha characters", "Contains lowercase alpha characters", "Contains numbers",
    "Contains special symbols", "Has minimum length of 7 characters"};
inline constexpr std::string_view kCriterionMet = "X";
inline constexpr std::string_view kRecommendation = "Reccomendation:  Increase the length";
inline constexpr std::string_view kSharedWithCaption = "Other sites that use this password:";

// The Sites area's copy commands
inline constexpr std::string_view kCopyPasswordCommand = "Copy password";
inline constexpr std::string_view kCopyLoginCommand = "Copy login";
inline constexpr std::string_view kCopyDamaged = "The stored value cannot be decrypted; nothing was copied.";

} // namespace kv
