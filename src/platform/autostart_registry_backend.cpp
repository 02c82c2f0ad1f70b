#include "platform/autostart_registry_backend.h"

#include "platform/desktop_entry.h"
#include "platform/xdg_directories.h"
#include "storage/ini_file.h"
#include "support/ascii_text.h"
#include "support/reg_path.h"

#include <sys/stat.h>

namespace kv {

namespace {
namespace fs = std::filesystem;

bool IsPredefinedRoot(RegKey key)
{
    return key >= kHKeyClassesRoot && key <= kHKeyDynData;
}

// base with the pieces of subKey appended, upper-cased; empty pieces are passed over.
std::string JoinedPath(std::string path, const std::string& subKey)
{
    std::size_t start = 0;
    while (start <= subKey.size()) {
        std::size_t end = subKey.find('\\', start);
        if (end == std::string::npos)
            end = subKey.size();
        if (end > start)
            path += '\\' + UpperCaseAscii(std::string_view(subKey).substr(start, end - start));
        start = end + 1;
    }
    return path;
}

// The program a desktop entry for the value starts: the value's text less its closing NUL.
fs::path ProgramOfValue(std::string data)
{
    while (!data.empty() && data.back() == '\0')
        data.pop_back();
    return data;
}

} // namespace

fs::path DefaultAutostartFile()
{
    const fs::path config = XdgConfigHome();
    return config.empty() ? fs::path() : config / "autostart" / kDesktopEntryFileName;
}

AutostartRegistryBackend::AutostartRegistryBackend(RegistryBackend& store, fs::path autostartFile)
    : store_(store), autostartFile_(std::move(autostartFile))
{
    const RegPath run = ResolveRegPath(std::string(kRunKey));
    runKeyPath_ = JoinedPath(std::to_string(run.root), run.subPath);
}

bool AutostartRegistryBackend::pathOf(RegKey key, std::string& path) const
{
    if (IsPredefinedRoot(key)) {
        path = std::to_string(key);
        return true;
    }
    const auto found = opened_.find(key);
    if (found == opened_.end())
        return false;
    path = found->second.path;
    return true;
}

bool AutostartRegistryBackend::isRunKey(RegKey parent, const std::string& subKey) const
{
    std::string path;
    return pathOf(parent, path) && JoinedPath(path, subKey) == runKeyPath_;
}

bool AutostartRegistryBackend::routed(RegKey key, const std::string& name) const
{
    return isRunKey(key, {}) && EqualsIgnoringCase(name, kRunValue);
}

std::int32_t AutostartRegistryBackend::remember(std::int32_t answer, RegKey parent, const std::string& subKey,
                                                bool canChange, RegKey result)
{
    std::string path;
    if (answer == kRegSuccess && pathOf(parent, path))
        opened_[result] = {JoinedPath(path, subKey), canChange};
    return answer;
}

std::optional<fs::path> AutostartRegistryBackend::autostartProgram() const
{
    struct stat info {};
    if (autostartFile_.empty() || ::stat(autostartFile_.c_str(), &info) != 0)
        return std::nullopt;
    const auto text = ReadIniText(autostartFile_);
    // A file that is there starts something, even one this program cannot read.
    return text ? DesktopEntryProgram(*text).value_or(fs::path()) : fs::path();
}

std::int32_t AutostartRegistryBackend::CreateKey(RegKey parent, const std::string& subKey, RegKey& result)
{
    return remember(store_.CreateKey(parent, subKey, result), parent, subKey, true, result);
}

std::int32_t AutostartRegistryBackend::OpenKey(RegKey parent, const std::string& subKey, RegKey& result)
{
    return open([&] { return store_.OpenKey(parent, subKey, result); }, parent, subKey, true, result);
}

std::int32_t AutostartRegistryBackend::OpenKeyEx(RegKey parent, const std::string& subKey,
                                                 std::uint32_t access, RegKey& result)
{
    return open([&] { return store_.OpenKeyEx(parent, subKey, access, result); }, parent, subKey,
                (access & kKeyChangeRights) != 0, result);
}

std::int32_t AutostartRegistryBackend::open(const std::function<std::int32_t()>& openInStore, RegKey parent,
                                            const std::string& subKey, bool canChange, RegKey& result)
{
    std::int32_t answer = openInStore();
    // The autostart file may be there although the store never held the Run key.
    if (answer == kRegFileNotFound && isRunKey(parent, subKey)) {
        RegKey created = 0;
        if (store_.CreateKey(parent, subKey, created) == kRegSuccess) {
            store_.CloseKey(created);
            answer = openInStore();
        }
    }
    return remember(answer, parent, subKey, canChange, result);
}

std::int32_t AutostartRegistryBackend::CloseKey(RegKey key)
{
    opened_.erase(key);
    return store_.CloseKey(key);
}

std::int32_t AutostartRegistryBackend::DeleteKey(RegKey key, const std::string& subKey)
{
    return store_.DeleteKey(key, subKey);
}

std::int32_t AutostartRegistryBackend::EnumKey(RegKey key, std::uint32_t index, std::string& name)
{
    return store_.EnumKey(key, index, name);
}

std::int32_t AutostartRegistryBackend::EnumValue(RegKey key, std::uint32_t index, std::string& name,
                                                 std::uint32_t& type, std::string& data)
{
    const std::int32_t answer = store_.EnumValue(key, index, name, type, data);
    if (answer != kRegNoMoreItems || !isRunKey(key, {}))
        return answer;
    // The routed value comes right after the store's last one.
    std::string lastName, lastData;
    std::uint32_t lastType = 0;
    if (index > 0 && store_.EnumValue(key, index - 1, lastName, lastType, lastData) != kRegSuccess)
        return kRegNoMoreItems;
    if (QueryValue(key, std::string(kRunValue), type, &data) != kRegSuccess)
        return kRegNoMoreItems;
    name = kRunValue;
    return kRegSuccess;
}

std::int32_t AutostartRegistryBackend::QueryValue(RegKey key, const std::string& name, std::uint32_t& type,
                                                  std::string* data)
{
    if (!routed(key, name))
        return store_.QueryValue(key, name, type, data);
    const auto program = autostartProgram();
    if (!program)
        return kRegFileNotFound;
    type = kRegSz;
    if (data)
        *data = program->string() + '\0';
    return kRegSuccess;
}

std::int32_t AutostartRegistryBackend::SetValue(RegKey key, const std::string& name, std::uint32_t type,
                                                const std::string& data)
{
    if (!routed(key, name))
        return store_.SetValue(key, name, type, data);
    if (!opened_.at(key).canChange)
        return kRegAccessDenied;
    if (type != kRegSz)
        return kRegInvalidParameter;
    const DesktopEntry entry{std::string(kRunValue), {}, ProgramOfValue(data), {}};
    return !autostartFile_.empty() && WriteDesktopEntry(autostartFile_, entry) ? kRegSuccess
                                                                               : kRegAccessDenied;
}

std::int32_t AutostartRegistryBackend::DeleteValue(RegKey key, const std::string& name)
{
    if (!routed(key, name))
        return store_.DeleteValue(key, name);
    if (!opened_.at(key).canChange)
        return kRegAccessDenied;
    if (!autostartProgram())
        return kRegFileNotFound;
    std::error_code ec;
    return fs::remove(autostartFile_, ec) ? kRegSuccess : kRegAccessDenied;
}

} // namespace kv
