#include "cleanup/cleanup_options.h"

#include "startup/profile_settings.h"
#include "storage/ini_values.h"
#include "support/ascii_text.h"

#include <charconv>

namespace kv {
namespace {

bool IsOne(std::string_view text)
{
    return OptionNumber(text) == 1.0;
}

std::string_view Setting(bool on)
{
    return on ? kSettingOn : kSettingOff;
}

} // namespace

std::optional<double> OptionNumber(std::string_view text)
{
    const std::string trimmed = TrimBlanks(text);
    double value = 0;
    const char* end = trimmed.data() + trimmed.size();
    const auto [stop, error] = std::from_chars(trimmed.data(), end, value);
    if (trimmed.empty() || error != std::errc{} || stop != end)
        return std::nullopt;
    return value;
}

LoadedCleanupChoices LoadCleanupChoices(const std::filesystem::path& profileFile)
{
    LoadedCleanupChoices loaded;
    const std::string deleteAll = ReadIniValue(kOptionsSection, BROWSERDELETEALL, profileFile);
    if (deleteAll.empty()) {
        WriteIniValue(kOptionsSection, BROWSERDELETEALL, kSettingOn, profileFile);
        for (std::string_view key : {BROWSERCOOKIE, BROWSERHISTORY, BROWSERTEMP})
            WriteIniValue(kOptionsSection, key, kSettingOff, profileFile);
        loaded.chkDelAll = true;
    } else if (const auto number = OptionNumber(deleteAll); number == 1.0) {
        loaded.chkDelAll = true;
    } else if (number == 0.0) {
        loaded.chkDelAll = false;
        loaded.categories = CategoryChoices{IsOne(ReadIniValue(kOptionsSection, BROWSERCOOKIE, profileFile)),
                                            IsOne(ReadIniValue(kOptionsSection, BROWSERHISTORY, profileFile)),
                                            IsOne(ReadIniValue(kOptionsSection, BROWSERTEMP, profileFile))};
    }

    const std::string prompt = ReadIniValue(kOptionsSection, BROWSERDELETEPROMPT, profileFile);
    if (prompt.empty()) {
        WriteIniValue(kOptionsSection, BROWSERDELETEPROMPT, kSettingOn, profileFile);
        loaded.chkDeletePrompt = true;
    } else {
        loaded.chkDeletePrompt = IsOne(prompt);
    }
    return loaded;
}

void SaveCleanupChoices(const CleanupChoices& choices, const std::filesystem::path& profileFile)
{
    const CategoryChoices written = choices.chkDelAll ? CategoryChoices{} : choices.categories;
    WriteIniValue(kOptionsSection, BROWSERDELETEALL, Setting(choices.chkDelAll), profileFile);
    WriteIniValue(kOptionsSection, BROWSERCOOKIE, Setting(written.chkCookies), profileFile);
    WriteIniValue(kOptionsSection, BROWSERHISTORY, Setting(written.chkHistory), profileFile);
    WriteIniValue(kOptionsSection, BROWSERTEMP, Setting(written.chkTemp), profileFile);
    WriteIniValue(kOptionsSection, BROWSERDELETEPROMPT, Setting(choices.chkDeletePrompt), profileFile);
}

CategoryBoxes DelAllInterlock(bool delAllChecked, const CategoryChoices& current)
{
    if (delAllChecked)
        return {{true, true, true}, false};
    return {current, true};
}

} // namespace kv
