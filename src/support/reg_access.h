#pragma once
// The program's one gateway to the registry, by textual key paths such as
// "HKEY_CURRENT_USER\Software\Kestrelyn Vormaplex". One operation per call; the key
// is opened and closed inside it. Failures are answers (0, false, -1, the default).
#include "support/registry_backend.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <tl/expected.hpp>
#include <variant>
#include <vector>

namespace kv {

using RegValue = std::variant<std::monostate, std::string, std::int32_t>;

class clsRegAccess {
public:
    explicit clsRegAccess(RegistryBackend& backend);

    bool CreateKeyIfDoesntExists = true;

    std::int32_t CreateKey(const std::string& path);
    std::int32_t KillKey(const std::string& path);
    bool KeyExists(const std::string& path);
    std::int32_t EnumKeys(const std::string& path, std::vector<std::string>& names);
    bool HaveSubkey(const std::string& path);
    std::int32_t WriteString(const std::string& path, const std::string& valueName, const std::string& value);
    std::string ReadString(const std::string& path, const std::string& valueName,
                           const std::string& fallback);
    // ReadString for a caller that must tell a value that is not there (nullopt) from a
    // registry that could not be read (the back-end's answer as the error): only the first
    // may be taken for "nothing recorded yet".
    tl::expected<std::optional<std::string>, std::int32_t> ReadStringOrFailure(const std::string& path,
                                                                               const std::string& valueName);
    std::int32_t WriteDWORD(const std::string& path, const std::string& valueName, std::int32_t value);
    std::int32_t ReadDWORD(const std::string& path, const std::string& valueName, std::int32_t fallback);
    std::int32_t WriteBinary(const std::string& path, const std::string& valueName,
                             const std::string& hexText);
    std::string ReadBinary(const std::string& path, const std::string& valueName,
                           const std::string& fallback);
    std::int32_t KillValue(const std::string& path, const std::string& valueName);
    bool ValueExists(const std::string& path, const std::string& valueName);
    std::int32_t EnumValues(const std::string& path, std::vector<std::string>& names,
                            std::vector<RegValue>& values, std::int32_t typeFilter);
    // statusDisplay, when given, is called with each key path as it is written.
    std::int32_t ExportToReg(const std::string& path, const std::string& fileName, bool recursive,
                             const std::function<void(const std::string&)>& statusDisplay = {});
    std::int32_t ImportFromReg(const std::string& fileName);
    std::string StrToBin(std::string& hexText);
    std::string BinToStr(const std::string& data);
    bool isBinValid(const std::string& hexText);

private:
    std::int32_t write(const std::string& path, const std::string& valueName, std::uint32_t type,
                       const std::string& data);
    std::optional<std::string> read(const std::string& path, const std::string& valueName);

    RegistryBackend& backend_;
};

} // namespace kv
