#include "mainwindow/tray_notice.h"

#include "startup/profile_settings.h"
#include "storage/ini_values.h"

namespace kv {

bool TakeTrayNotice(const std::filesystem::path& profileFile)
{
    if (ReadIniValue(kOptionsSection, TRAYNOTICE, profileFile) == kSettingOn)
        return false;
    WriteIniValue(kOptionsSection, TRAYNOTICE, kSettingOn, profileFile);
    return true;
}

} // namespace kv
