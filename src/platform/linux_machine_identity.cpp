#include "platform/machine_identity.h"

#include <cctype>
#include <fstream>
#include <optional>
#include <string>
#include <sys/statvfs.h>

namespace kv {

namespace {
std::optional<std::uint32_t> leadingHexWord(const char* file)
{
    std::ifstream in(file);
    std::string text;
    if (!(in >> text) || text.size() < 8)
        return std::nullopt;
    std::uint32_t value = 0;
    for (int i = 0; i < 8; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (!std::isxdigit(c))
            return std::nullopt;
        value =
            value << 4 | static_cast<std::uint32_t>(std::isdigit(c) ? c - '0' : std::tolower(c) - 'a' + 10);
    }
    return value;
}
} // namespace

std::uint32_t LinuxMachineIdentity::volumeSerial() const
{
    for (const char* file : {"/etc/machine-id", "/var/lib/dbus/machine-id"})
        if (auto word = leadingHexWord(file))
            return *word;
    struct statvfs info {};
    if (statvfs("/", &info) == 0)
        return static_cast<std::uint32_t>(info.f_fsid);
    return 0;
}

} // namespace kv
