#pragma once
// Whether the machine has a network connection other than to itself.
namespace kv {

class ConnectionState {
public:
    virtual ~ConnectionState() = default;
    virtual bool online() const = 0;
};

// Online when an interface other than loopback is up, running and has an address.
class LinuxConnectionState : public ConnectionState {
public:
    bool online() const override;
};

} // namespace kv
