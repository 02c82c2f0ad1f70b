#include "support/reg_path.h"

#include <array>
#include <string_view>

namespace kv {

namespace {

struct RootName {
    std::string_view full;
    std::string_view abbreviation;
    RegKey handle;
};

constexpr std::array<RootName, 7> kRootNames{{
    {"HKEY_CLASSES_ROOT", "HKCR", kHKeyClassesRoot},
    {"HKEY_CURRENT_USER", "HKCU", kHKeyCurrentUser},
    {"HKEY_LOCAL_MACHINE", "HKLM", kHKeyLocalMachine},
    {"HKEY_USERS", "HKUS", kHKeyUsers},
    {"HKEY_PERFORMANCE_DATA", "HKPD", kHKeyPerformanceData},
    {"HKEY_CURRENT_CONFIG", "HKCC", kHKeyCurrentConfig},
    {"HKEY_DYN_DATA", "HKDD", kHKeyDynData},
}};

bool SameLetters(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
        if (upper(a[i]) != upper(b[i]))
            return false;
    }
    return true;
}

const RootName* FindRoot(std::string_view name)
{
    for (const RootName& root : kRootNames)
        if (SameLetters(name, root.full) || SameLetters(name, root.abbreviation))
            return &root;
    return nullptr;
}

} // namespace

RegPath ResolveRegPath(const std::string& path)
{
    const std::size_t slash = path.find('\\');
    const RootName* root = FindRoot(std::string_view(path).substr(0, slash));
    RegPath resolved;
    resolved.root = root ? root->handle : 0;
    if (slash != std::string::npos)
        resolved.subPath = path.substr(slash + 1);
    return resolved;
}

std::string WithFullRootName(const std::string& path)
{
    const std::size_t slash = path.find('\\');
    const RootName* root = FindRoot(std::string_view(path).substr(0, slash));
    if (!root)
        return path;
    return std::string(root->full) + (slash == std::string::npos ? std::string() : path.substr(slash));
}

} // namespace kv
