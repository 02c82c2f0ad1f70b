#pragma once
// The maker's update servers and where their manifests lie.
#include <string>
#include <vector>

namespace kv {

struct UpdateServers {
    // The hosts of the Download Site list, for the manual check.
    std::vector<std::string> downloadSites{"update1.kestrelyn.example", "update2.kestrelyn.example"};
    // The host of the automatic check.
    std::string automaticHost = "update.kestrelyn.example";
};

// The two checks ask different paths ("UPDATE" and "UPDATES"), as the servers serve them.
inline std::string ManualManifestAddress(const std::string& downloadSite)
{
    return "http://" + downloadSite + "/UPDATE/KESTRELYN_VORMAPLEX/manifest.txt";
}

inline std::string AutomaticManifestAddress(const std::string& host)
{
    return "http://" + host + "/UPDATES/KESTRELYN_VORMAPLEX/manifest.txt";
}

// The manifest's detached signature lies next to it.
inline std::string SignatureAddress(const std::string& manifestAddress)
{
    return manifestAddress + ".sig";
}

} // namespace kv
