// Any bytes as a REGEDIT4 file: importing them, then exporting what they made, must
// neither crash nor touch the user's real registry (the store lives in a scratch
// directory and is emptied after every input, so each input starts from nothing).
#include "support/reg_access.h"
#include "support/sqlite_registry_backend.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr const char* kRoots[] = {"HKCR", "HKCU", "HKLM", "HKUS", "HKCC"};

// Memory-backed when available (every write is a transaction); removed at exit.
class ScratchDirectory {
public:
    ScratchDirectory()
    {
        const std::filesystem::path base = std::filesystem::exists("/dev/shm")
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        std::string pattern = (base / "kv-fuzz-regedit4-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        path_ = pattern;
    }
    ~ScratchDirectory()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

void DeleteTree(kv::clsRegAccess& registry, const std::string& path)
{
    std::vector<std::string> names;
    registry.EnumKeys(path, names);
    for (const std::string& name : names) {
        DeleteTree(registry, path + "\\" + name);
        registry.KillKey(path + "\\" + name);
    }
    std::vector<kv::RegValue> values;
    registry.EnumValues(path, names, values, -1);
    for (const std::string& name : names)
        registry.KillValue(path, name);
}

bool IsEmpty(kv::clsRegAccess& registry, const std::string& root)
{
    std::vector<std::string> names;
    std::vector<kv::RegValue> values;
    return registry.EnumKeys(root, names) == 0 && registry.EnumValues(root, names, values, -1) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const ScratchDirectory scratch;
    static const std::filesystem::path store = scratch.path() / "registry";
    static auto backend = std::make_unique<kv::SqliteRegistryBackend>(store);
    const std::filesystem::path input = scratch.path() / "input.reg";
    const std::filesystem::path output = scratch.path() / "output.reg";
    std::ofstream(input, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    kv::clsRegAccess registry(*backend);
    if (registry.ImportFromReg(input.string()) == 1)
        for (const char* root : kRoots) {
            registry.ExportToReg(root, output.string(), true);
            std::filesystem::remove(output);
        }

    bool clean = true;
    for (const char* root : kRoots) {
        DeleteTree(registry, root);
        clean = clean && IsEmpty(registry, root);
    }
    if (!clean) {
        backend.reset();
        std::filesystem::remove_all(store);
        backend = std::make_unique<kv::SqliteRegistryBackend>(store);
    }
    return 0;
}
