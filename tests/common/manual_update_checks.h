#pragma once
// A program started by a test never asks the internet for updates on its own: the automatic
// check a first start schedules would reach the real update server and, while it runs, change
// the main window's caption and may show its outcome in a message box.
#include "support/reg_access.h"
#include "support/sqlite_registry_backend.h"
#include "update/update_settings.h"

#include <filesystem>

namespace kv::test {

// configHome: the program's XDG_CONFIG_HOME.
inline void UseManualUpdateChecks(const std::filesystem::path& configHome)
{
    SqliteRegistryBackend backend(configHome / "kestrelyn-vormaplex" / "registry");
    clsRegAccess registry(backend);
    UpdateSettings(registry).setUpdateCheck(kUpdateCheckManual);
}

} // namespace kv::test
