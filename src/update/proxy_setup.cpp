#include "update/proxy_setup.h"

#include "storage/ini_values.h"
#include "support/ascii_text.h"

namespace kv {
namespace {

constexpr std::string_view kSection = "Options";
constexpr std::string_view kTypeKey = "PROXYTYPE";
constexpr std::string_view kAddressKey = "PROXYADDRESS";
constexpr std::string_view kPortKey = "PROXYPORT";

// The text's leading whole number; 0 when there is none or it is no port.
std::int32_t PortNumber(std::string_view text)
{
    const std::string trimmed = TrimBlanks(text);
    std::int32_t port = 0;
    for (const char c : trimmed) {
        if (c < '0' || c > '9')
            break;
        port = port * 10 + (c - '0');
        if (port > 65535)
            return 0;
    }
    return port;
}

} // namespace

ProxyForm ProxySetup::cmd_ProxySetup_Click()
{
    ProxyForm form;
    const std::string type = ReadIniValue(kSection, kTypeKey, profileFile_);
    if (type.empty()) {
        WriteIniValue(kSection, kTypeKey, "0", profileFile_);
        form.option = kProxySystem;
    } else if (type == "0" || type == "1") {
        form.option = type == "0" ? kProxySystem : kProxyDirect;
    } else if (type == "2") {
        form.option = kProxyManual;
        form.address = ReadIniValue(kSection, kAddressKey, profileFile_);
        form.port = ReadIniValue(kSection, kPortKey, profileFile_);
    }
    return form;
}

void ProxySetup::cmdProxyOK_Click(const ProxyForm& form)
{
    apply(form);
    switch (form.option) {
    case kProxySystem:
        WriteIniValue(kSection, kTypeKey, "0", profileFile_);
        break;
    case kProxyDirect:
        WriteIniValue(kSection, kAddressKey, "", profileFile_);
        WriteIniValue(kSection, kPortKey, "", profileFile_);
        WriteIniValue(kSection, kTypeKey, "1", profileFile_);
        break;
    case kProxyManual:
        WriteIniValue(kSection, kAddressKey, form.address, profileFile_);
        WriteIniValue(kSection, kPortKey, form.port, profileFile_);
        WriteIniValue(kSection, kTypeKey, "2", profileFile_);
        break;
    default:
        break;
    }
}

void ProxySetup::ApplyStoredProxy()
{
    const std::string type = ReadIniValue(kSection, kTypeKey, profileFile_);
    if (type == "1")
        apply({kProxyDirect, {}, {}});
    else if (type == "2")
        apply({kProxyManual, ReadIniValue(kSection, kAddressKey, profileFile_),
               ReadIniValue(kSection, kPortKey, profileFile_)});
}

void ProxySetup::apply(const ProxyForm& form)
{
    switch (form.option) {
    case kProxySystem:
        download_.ConnectType = kConnectSystemSettings;
        break;
    case kProxyDirect:
        download_.ConnectType = kConnectDirect;
        break;
    case kProxyManual:
        download_.ConnectType = kConnectProxy;
        download_.ProxyServer = form.address;
        download_.ProxyPort = PortNumber(form.port);
        break;
    default:
        break;
    }
}

} // namespace kv
