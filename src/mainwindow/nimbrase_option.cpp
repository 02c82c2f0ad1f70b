#include "mainwindow/nimbrase_option.h"

#include "startup/profile_settings.h"
#include "storage/ini_values.h"

namespace kv {

NimbraseLook NimbraseLookFor(bool checked)
{
    if (checked)
        return {std::string(kNimbraseCaption) + " - Enabled", true};
    return {std::string(kNimbraseCaption), false};
}

NimbraseLook ChooseNimbrase(const std::filesystem::path& profileFile, bool checked)
{
    WriteIniValue(kOptionsSection, NIMBRASE, checked ? kSettingOn : kSettingOff, profileFile);
    return NimbraseLookFor(checked);
}

} // namespace kv
