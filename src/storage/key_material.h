#pragma once
// The two cipher keys: set once when the profile is opened or created, then fixed.
#include <cstdint>
#include <string>
#include <string_view>

namespace kv {

// The signed decimal form of the machine's 32-bit identity without its first character.
std::string VolumeSerialPart(std::uint32_t machineIdentity);
// 98 uppercase hex digits, the same in every installation.
std::string ProgramKeyConstant();
std::string MachineKey(std::string_view volumeSerialPart);
std::string ValueKey(std::string_view volumeSerialPart, std::string_view profileKey);

// The process-wide keys used by ReadSecureValue / WriteSecureValue.
struct CipherKeys {
    std::string machineKey;
    std::string valueKey;
};
void SetCipherKeys(CipherKeys keys);
const CipherKeys& CurrentCipherKeys();

} // namespace kv
