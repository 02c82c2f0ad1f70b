#pragma once
// Starting the program with the session: one registry value, kRunValue under kRunKey, naming
// the program (the registry hands it to the session's autostart folder).
#include "platform/autostart_registry_backend.h"
#include "support/reg_access.h"

#include <filesystem>

namespace kv {

void WriteRunEntry(clsRegAccess& registry, const std::filesystem::path& program);
void RemoveRunEntry(clsRegAccess& registry);
bool RunEntryExists(clsRegAccess& registry);

} // namespace kv
