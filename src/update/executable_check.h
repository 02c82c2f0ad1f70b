#pragma once
// Whether a downloaded file is a program this machine can run: an ELF executable of the
// same class, byte order and machine as the running program.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>
#include <tl/expected.hpp>

namespace kv {

struct ElfIdentity {
    unsigned char elfClass = 0; // 32 or 64 bit
    unsigned char byteOrder = 0;
    std::uint16_t machine = 0;

    bool operator==(const ElfIdentity&) const = default;
};

// The identity of an ELF executable (fixed or position-independent) from the first bytes of
// its file, or nullopt for anything else.
std::optional<ElfIdentity> ExecutableIdentity(std::string_view header);

// The running program's own identity.
std::optional<ElfIdentity> ThisMachine();

// false for a file that is not such an executable; an error when it cannot be read.
tl::expected<bool, std::error_code> IsExecutableFor(const std::filesystem::path& file,
                                                    const ElfIdentity& machine);

} // namespace kv
