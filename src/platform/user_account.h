#pragma once
// Facts about the account the program runs under.
#include <filesystem>
#include <string>

namespace kv {

class UserAccount {
public:
    virtual ~UserAccount() = default;
    virtual std::string name() const = 0;
    // The user's documents folder; empty when it cannot be found.
    virtual std::filesystem::path documentsFolder() const = 0;
};

// The real one: the effective user's entry in the password database, and the
// documents folder of the XDG user directories ($HOME/Documents when unset).
class LinuxUserAccount : public UserAccount {
public:
    std::string name() const override;
    std::filesystem::path documentsFolder() const override;
};

} // namespace kv
