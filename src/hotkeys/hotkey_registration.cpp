#include "hotkeys/hotkey_registration.h"

#include "browser/numeric_value.h"
#include "hotkeys/hotkey_texts.h"
#include "hotkeys/key_tables.h"
#include "startup/profile_settings.h"
#include "storage/ini_values.h"

namespace kv {

HotkeyRegistration::HotkeyRegistration(GlobalHotkeys& hotkeys, Dialogs& dialogs,
                                       std::filesystem::path profileFile)
    : hotkeys_(hotkeys), dialogs_(dialogs), profileFile_(std::move(profileFile))
{
    hotkeys_.setEvents(this);
}

HotkeyRegistration::~HotkeyRegistration()
{
    hotkeys_.setEvents(nullptr);
}

void HotkeyRegistration::RegisterHotkeys()
{
    if (LeadingNumber(ReadIniValue(kOptionsSection, HOTKEYON, profileFile_)) == 1.0 &&
        !registerHideShow(ReadIniValue(kOptionsSection, HOLDKEY, profileFile_),
                          ReadIniValue(kOptionsSection, PRESSKEY, profileFile_)))
        reportUnavailable(kHideShowHotkeyId);
    for (int n = 1; n <= kSiteHotkeyCount; ++n) {
        if (ReadIniValue(HotkeySection(n), HotkeyEntryKey(1), profileFile_).empty())
            continue;
        const std::string description = std::string(kSiteHotkeyDescriptionPrefix) + std::to_string(n);
        if (!take(n, kHotkeyModControl, SiteHotkeyKey(n), description))
            reportUnavailable(n);
    }
}

void HotkeyRegistration::UnregisterHotkeys()
{
    for (int id = kHideShowHotkeyId; id <= kSiteHotkeyCount; ++id)
        release(id);
}

bool HotkeyRegistration::registerHideShow(std::string_view holdKeyName, std::string_view pressKeyName)
{
    hideShowKeyName_ = pressKeyName;
    release(kHideShowHotkeyId);
    // An unknown key name gives code 0, which no desktop accepts.
    return take(kHideShowHotkeyId, ModifierOfName(holdKeyName), KeyOfName(pressKeyName),
                kHideShowHotkeyDescription);
}

void HotkeyRegistration::unregisterHideShow()
{
    release(kHideShowHotkeyId);
}

bool HotkeyRegistration::registered(int id) const
{
    return id >= 0 && id < static_cast<int>(registered_.size()) && registered_[static_cast<std::size_t>(id)];
}

bool HotkeyRegistration::take(int id, unsigned modifiers, unsigned virtualKey, std::string_view description)
{
    const bool taken = virtualKey != 0 && hotkeys_.registerHotkey(id, modifiers, virtualKey, description);
    registered_[static_cast<std::size_t>(id)] = taken;
    return taken;
}

// The flag says whether the id is held now: releasing clears it, so nothing is released twice
// and nothing is released that another program holds.
void HotkeyRegistration::release(int id)
{
    if (!registered(id))
        return;
    hotkeys_.unregisterHotkey(id);
    registered_[static_cast<std::size_t>(id)] = false;
}

void HotkeyRegistration::HotkeyPressed(int id)
{
    if (registered(id) && pressed_)
        pressed_(id);
}

void HotkeyRegistration::HotkeyRefused(int id)
{
    if (!registered(id))
        return;
    registered_[static_cast<std::size_t>(id)] = false;
    reportUnavailable(id);
}

void HotkeyRegistration::reportUnavailable(int id) const
{
    // The text says "CTRL-" whatever the modifier is.
    const std::string key = id == kHideShowHotkeyId ? hideShowKeyName_ : "F" + std::to_string(id);
    dialogs_.message(std::string(kHotkeyUnavailablePrefix) + key, kHotkeyUnavailableCaption, Icon::Critical);
}

} // namespace kv
