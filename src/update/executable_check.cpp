#include "update/executable_check.h"

#include <cerrno>
#include <fstream>
#include <string>

namespace kv {
namespace {

constexpr std::size_t kLargestHeader = 64;
constexpr unsigned char kClass32 = 1;
constexpr unsigned char kClass64 = 2;
constexpr unsigned char kLittleEndian = 1;
constexpr unsigned char kBigEndian = 2;
constexpr std::uint16_t kTypeExecutable = 2;
constexpr std::uint16_t kTypeSharedObject = 3; // position-independent executables too

std::uint16_t Read16(std::string_view bytes, std::size_t at, unsigned char byteOrder)
{
    const auto first = static_cast<unsigned char>(bytes[at]);
    const auto second = static_cast<unsigned char>(bytes[at + 1]);
    return byteOrder == kLittleEndian ? static_cast<std::uint16_t>(first | second << 8)
                                      : static_cast<std::uint16_t>(first << 8 | second);
}

tl::expected<std::string, std::error_code> FirstBytes(const std::filesystem::path& file, std::size_t count)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return tl::unexpected(std::error_code(errno ? errno : ENOENT, std::generic_category()));
    std::string bytes(count, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(count));
    if (in.bad())
        return tl::unexpected(std::error_code(errno ? errno : EIO, std::generic_category()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

} // namespace

std::optional<ElfIdentity> ExecutableIdentity(std::string_view header)
{
    if (header.size() < 20 || !header.starts_with("\x7f"
                                                  "ELF"))
        return std::nullopt;
    ElfIdentity identity{static_cast<unsigned char>(header[4]), static_cast<unsigned char>(header[5]), 0};
    const std::size_t headerSize = identity.elfClass == kClass64 ? 64 : 52;
    if ((identity.elfClass != kClass32 && identity.elfClass != kClass64) ||
        (identity.byteOrder != kLittleEndian && identity.byteOrder != kBigEndian) ||
        header.size() < headerSize)
        return std::nullopt;
    const std::uint16_t type = Read16(header, 16, identity.byteOrder);
    if (type != kTypeExecutable && type != kTypeSharedObject)
        return std::nullopt;
    identity.machine = Read16(header, 18, identity.byteOrder);
    return identity;
}

std::optional<ElfIdentity> ThisMachine()
{
    const auto header = FirstBytes("/proc/self/exe", kLargestHeader);
    return header ? ExecutableIdentity(*header) : std::nullopt;
}

tl::expected<bool, std::error_code> IsExecutableFor(const std::filesystem::path& file,
                                                    const ElfIdentity& machine)
{
    errno = 0;
    const auto header = FirstBytes(file, kLargestHeader);
    if (!header)
        return tl::unexpected(header.error());
    const auto identity = ExecutableIdentity(*header);
    return identity && *identity == machine;
}

} // namespace kv
