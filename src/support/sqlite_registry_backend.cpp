#include "support/sqlite_registry_backend.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <utility>
#include <vector>

namespace kv {

namespace {

// The registry's own limits: the length of one key name, and how deep keys nest
// (which also bounds the recursion of whoever walks a tree).
constexpr std::size_t kMaxKeyNameLength = 255;
constexpr std::size_t kMaxKeyDepth = 512;

const char* HiveFileName(RegKey root)
{
    switch (root) {
    case kHKeyClassesRoot:
        return "HKEY_CLASSES_ROOT.sqlite";
    case kHKeyCurrentUser:
        return "HKEY_CURRENT_USER.sqlite";
    case kHKeyLocalMachine:
        return "HKEY_LOCAL_MACHINE.sqlite";
    case kHKeyUsers:
        return "HKEY_USERS.sqlite";
    case kHKeyCurrentConfig:
        return "HKEY_CURRENT_CONFIG.sqlite";
    default:
        return nullptr;
    }
}

// Empty pieces (doubled or trailing backslashes) are passed over.
bool SplitKeyPath(const std::string& subKey, std::vector<std::string>& names)
{
    std::size_t start = 0;
    while (start <= subKey.size()) {
        std::size_t end = subKey.find('\\', start);
        if (end == std::string::npos)
            end = subKey.size();
        if (end > start) {
            if (end - start > kMaxKeyNameLength)
                return false;
            names.push_back(subKey.substr(start, end - start));
        }
        start = end + 1;
    }
    return true;
}

} // namespace

std::filesystem::path DefaultRegistryDirectory()
{
    std::filesystem::path config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/')
        config = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        config = std::filesystem::path(home) / ".config";
    else if (const passwd* account = getpwuid(getuid()); account && account->pw_dir)
        config = std::filesystem::path(account->pw_dir) / ".config";
    else
        config = ".config";
    return config / "kestrelyn-vormaplex" / "registry";
}

SqliteRegistryBackend::SqliteRegistryBackend(std::filesystem::path directory)
    : directory_(std::move(directory))
{
}

RegistryHive* SqliteRegistryBackend::hiveFor(RegKey root)
{
    const char* fileName = HiveFileName(root);
    if (!fileName)
        return nullptr;
    std::unique_ptr<RegistryHive>& hive = hives_[root];
    if (!hive)
        hive = std::make_unique<RegistryHive>(directory_ / fileName);
    return hive.get();
}

bool SqliteRegistryBackend::find(RegKey key, OpenedKey& opened)
{
    if (auto found = opened_.find(key); found != opened_.end()) {
        opened = found->second;
        return true;
    }
    RegistryHive* hive = hiveFor(key);
    if (!hive)
        return false;
    opened = OpenedKey{};
    opened.hive = hive;
    opened.canSetValues = hive->writable();
    return true;
}

std::int32_t SqliteRegistryBackend::walk(const OpenedKey& from, const std::string& subKey, OpenedKey& to)
{
    std::vector<std::string> names;
    if (!SplitKeyPath(subKey, names))
        return kRegInvalidParameter;
    if (std::int32_t alive = from.hive->CheckAlive(from.id); alive != kRegSuccess)
        return alive;
    to = from;
    to.depth += names.size();
    for (const std::string& name : names)
        if (std::int32_t found = from.hive->FindSubKey(to.id, name, to.id); found != kRegSuccess)
            return found;
    return kRegSuccess;
}

RegKey SqliteRegistryBackend::remember(const OpenedKey& opened)
{
    // Handle values stay clear of 0 and of the predefined roots.
    while (nextHandle_ == 0 || nextHandle_ >= kHKeyClassesRoot || opened_.count(nextHandle_))
        nextHandle_ = nextHandle_ >= kHKeyClassesRoot ? 1 : nextHandle_ + 1;
    const RegKey handle = nextHandle_++;
    opened_.emplace(handle, opened);
    return handle;
}

std::int32_t SqliteRegistryBackend::CreateKey(RegKey parent, const std::string& subKey, RegKey& result)
{
    OpenedKey from;
    if (!find(parent, from))
        return kRegInvalidHandle;
    std::vector<std::string> names;
    if (!SplitKeyPath(subKey, names) || from.depth + names.size() > kMaxKeyDepth)
        return kRegInvalidParameter;
    OpenedKey created = from;
    created.depth += names.size();
    if (std::int32_t answer = from.hive->CreateSubKeys(from.id, names, created.id); answer != kRegSuccess)
        return answer;
    created.canSetValues = from.hive->writable();
    result = remember(created);
    return kRegSuccess;
}

std::int32_t SqliteRegistryBackend::OpenKey(RegKey parent, const std::string& subKey, RegKey& result)
{
    OpenedKey from;
    if (!find(parent, from))
        return kRegInvalidHandle;
    return OpenKeyEx(parent, subKey, from.hive->writable() ? kKeyAllAccess : kKeyRead, result);
}

std::int32_t SqliteRegistryBackend::OpenKeyEx(RegKey parent, const std::string& subKey, std::uint32_t access,
                                              RegKey& result)
{
    OpenedKey from;
    if (!find(parent, from))
        return kRegInvalidHandle;
    const bool wantsWrite = (access & kKeyChangeRights) != 0;
    if (wantsWrite && !from.hive->writable())
        return kRegAccessDenied;
    OpenedKey target;
    if (std::int32_t answer = walk(from, subKey, target); answer != kRegSuccess)
        return answer;
    target.canSetValues = wantsWrite;
    result = remember(target);
    return kRegSuccess;
}

std::int32_t SqliteRegistryBackend::CloseKey(RegKey key)
{
    if (opened_.erase(key) == 1 || HiveFileName(key))
        return kRegSuccess;
    return kRegInvalidHandle;
}

std::int32_t SqliteRegistryBackend::DeleteKey(RegKey key, const std::string& subKey)
{
    OpenedKey from;
    if (!find(key, from))
        return kRegInvalidHandle;
    OpenedKey target;
    if (std::int32_t answer = walk(from, subKey, target); answer != kRegSuccess)
        return answer;
    return from.hive->DeleteKey(target.id);
}

std::int32_t SqliteRegistryBackend::EnumKey(RegKey key, std::uint32_t index, std::string& name)
{
    OpenedKey opened;
    if (!find(key, opened))
        return kRegInvalidHandle;
    return opened.hive->SubKeyAt(opened.id, index, name);
}

std::int32_t SqliteRegistryBackend::EnumValue(RegKey key, std::uint32_t index, std::string& name,
                                              std::uint32_t& type, std::string& data)
{
    OpenedKey opened;
    if (!find(key, opened))
        return kRegInvalidHandle;
    return opened.hive->ValueAt(opened.id, index, name, type, data);
}

std::int32_t SqliteRegistryBackend::QueryValue(RegKey key, const std::string& name, std::uint32_t& type,
                                               std::string* data)
{
    OpenedKey opened;
    if (!find(key, opened))
        return kRegInvalidHandle;
    return opened.hive->QueryValue(opened.id, name, type, data);
}

std::int32_t SqliteRegistryBackend::SetValue(RegKey key, const std::string& name, std::uint32_t type,
                                             const std::string& data)
{
    OpenedKey opened;
    if (!find(key, opened))
        return kRegInvalidHandle;
    if (!opened.canSetValues)
        return kRegAccessDenied;
    return opened.hive->SetValue(opened.id, name, type, data);
}

std::int32_t SqliteRegistryBackend::DeleteValue(RegKey key, const std::string& name)
{
    OpenedKey opened;
    if (!find(key, opened))
        return kRegInvalidHandle;
    if (!opened.canSetValues)
        return kRegAccessDenied;
    return opened.hive->DeleteValue(opened.id, name);
}

} // namespace kv
