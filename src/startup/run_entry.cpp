#include "startup/run_entry.h"

namespace kv {

void WriteRunEntry(clsRegAccess& registry, const std::filesystem::path& program)
{
    registry.WriteString(std::string(kRunKey), std::string(kRunValue), program.string());
}

void RemoveRunEntry(clsRegAccess& registry)
{
    registry.KillValue(std::string(kRunKey), std::string(kRunValue));
}

bool RunEntryExists(clsRegAccess& registry)
{
    return registry.ValueExists(std::string(kRunKey), std::string(kRunValue));
}

} // namespace kv
