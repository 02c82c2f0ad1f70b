#pragma once
// The number that binds the cipher keys to this machine.
#include <cstdint>

namespace kv {

class MachineIdentity {
public:
    virtual ~MachineIdentity() = default;
    virtual std::uint32_t volumeSerial() const = 0;
};

// The real one: the first 8 hex digits of /etc/machine-id (then /var/lib/dbus/machine-id,
// then the root file system's id), as a 32-bit number.
class LinuxMachineIdentity : public MachineIdentity {
public:
    std::uint32_t volumeSerial() const override;
};

} // namespace kv
