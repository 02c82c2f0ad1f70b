#pragma once
// The proxy dialog's rules: PROXYTYPE, PROXYADDRESS and PROXYPORT in section "Options" of the
// profile, and the download control's connection that follows from them.
#include "update/internet_file.h"

#include <filesystem>
#include <string>

namespace kv {

// PROXYTYPE, the option's index.
inline constexpr int kProxySystem = 0;
inline constexpr int kProxyDirect = 1;
inline constexpr int kProxyManual = 2;

struct ProxyForm {
    int option = -1; // no option selected
    std::string address;
    std::string port;
};

class ProxySetup {
public:
    ProxySetup(std::filesystem::path profileFile, InternetFile& download)
        : profileFile_(std::move(profileFile)), download_(download)
    {
    }

    // The stored choice as the dialog shows it; an empty PROXYTYPE is stored as "0".
    ProxyForm cmd_ProxySetup_Click();
    // Applies the choice to the download control and stores it.
    void cmdProxyOK_Click(const ProxyForm& form);
    // The stored choice applied to the download control, so that it holds from the start.
    void ApplyStoredProxy();

private:
    void apply(const ProxyForm& form);

    std::filesystem::path profileFile_;
    InternetFile& download_;
};

} // namespace kv
