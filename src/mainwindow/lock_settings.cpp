#include "mainwindow/lock_settings.h"

#include "startup/profile_settings.h"
#include "storage/ini_values.h"
#include "support/ascii_text.h"

#include <charconv>

namespace kv {

int ReadLockIdleMinutes(const std::filesystem::path& profileFile)
{
    const std::string text = TrimBlanks(ReadIniValue(kOptionsSection, LOCKIDLEMINUTES, profileFile));
    int minutes = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), minutes);
    if (error != std::errc() || end != text.data() + text.size() || minutes < 0 ||
        minutes > kMaxLockIdleMinutes)
        return 0;
    return minutes;
}

bool WriteLockIdleMinutes(const std::filesystem::path& profileFile, int minutes)
{
    if (minutes < 0 || minutes > kMaxLockIdleMinutes)
        return false;
    WriteIniValue(kOptionsSection, LOCKIDLEMINUTES, std::to_string(minutes), profileFile);
    return true;
}

} // namespace kv
