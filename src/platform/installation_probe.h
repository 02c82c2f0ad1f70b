#pragma once
// Whether the program may replace its own files: only an installation of the user's own,
// never one that the system's package manager keeps.
#include <filesystem>

namespace kv {

class InstallationProbe {
public:
    virtual ~InstallationProbe() = default;
    virtual bool selfUpdatable(const std::filesystem::path& executable) const = 0;
};

// Self-updatable when the executable's folder grants the user write permission by its mode
// bits (whatever privileges the user has beyond them) and no Debian package owns the file.
class LinuxInstallationProbe : public InstallationProbe {
public:
    bool selfUpdatable(const std::filesystem::path& executable) const override;
};

} // namespace kv
