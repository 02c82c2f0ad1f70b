#include "storage/key_material.h"

#include <string>

namespace kv {

namespace {
CipherKeys& heldKeys()
{
    static CipherKeys keys;
    return keys;
}
} // namespace

std::string VolumeSerialPart(std::uint32_t machineIdentity)
{
    // The identity is read as a signed number; the first digit (or the minus sign)
    // is dropped, as the stored key material of every profile expects.
    std::string text = std::to_string(static_cast<std::int32_t>(machineIdentity));
    return text.substr(1);
}

std::string ProgramKeyConstant()
{
    return "7C3A91E05BD24F68A17E3C09D5B8426F1E90A3C75D28B64F0E19C7A35B82D64E"
           "F307A9C15E28D46B0F93A7C1E5D2B8460A";
}

std::string MachineKey(std::string_view volumeSerialPart)
{
    return std::string(volumeSerialPart) + ProgramKeyConstant();
}

std::string ValueKey(std::string_view volumeSerialPart, std::string_view profileKey)
{
    return std::string(volumeSerialPart) + std::string(profileKey) + ProgramKeyConstant();
}

void SetCipherKeys(CipherKeys keys)
{
    heldKeys() = std::move(keys);
}

const CipherKeys& CurrentCipherKeys()
{
    return heldKeys();
}

} // namespace kv
