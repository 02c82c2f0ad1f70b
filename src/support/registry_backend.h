#pragma once
// The registry operations clsRegAccess needs from the store beneath it, shaped like
// the platform calls they stand for: every operation answers 0 on success,
// kRegNoMoreItems when an enumeration has run past its end, and another code on
// failure (missing key, refused access, bad handle). Keys are reached from a root
// handle and a backslash-separated sub-path; names compare without regard to case.
// Because every open names its key path, a back-end may hand some paths to another
// store (delegating by path prefix) without its callers noticing.
// Data is raw bytes, one char per byte, exactly as written (REG_SZ includes its NUL).
#include <cstdint>
#include <string>

namespace kv {

using RegKey = std::uint32_t;

// Predefined root handles.
inline constexpr RegKey kHKeyClassesRoot = 0x80000000u;
inline constexpr RegKey kHKeyCurrentUser = 0x80000001u;
inline constexpr RegKey kHKeyLocalMachine = 0x80000002u;
inline constexpr RegKey kHKeyUsers = 0x80000003u;
inline constexpr RegKey kHKeyPerformanceData = 0x80000004u;
inline constexpr RegKey kHKeyCurrentConfig = 0x80000005u;
inline constexpr RegKey kHKeyDynData = 0x80000006u;

// Answers.
inline constexpr std::int32_t kRegSuccess = 0;
inline constexpr std::int32_t kRegFileNotFound = 2;
inline constexpr std::int32_t kRegAccessDenied = 5;
inline constexpr std::int32_t kRegInvalidHandle = 6;
inline constexpr std::int32_t kRegInvalidParameter = 87;
inline constexpr std::int32_t kRegIoFailed = 1016;
inline constexpr std::int32_t kRegKeyDeleted = 1018;
inline constexpr std::int32_t kRegNoMoreItems = 259;

// Access masks for OpenKeyEx.
inline constexpr std::uint32_t kKeyAllAccess = 0xF003Fu;
inline constexpr std::uint32_t kKeyWrite = 0x20006u;
inline constexpr std::uint32_t kKeyRead = 0x20019u;
// The access rights that change a key: set value, create sub-key, delete.
inline constexpr std::uint32_t kKeyChangeRights = 0x2u | 0x4u | 0x10000u;

// Value types.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;

class RegistryBackend {
public:
    virtual ~RegistryBackend() = default;

    // Creates every missing key along subKey (or opens the existing one).
    virtual std::int32_t CreateKey(RegKey parent, const std::string& subKey, RegKey& result) = 0;
    // Opens with default access.
    virtual std::int32_t OpenKey(RegKey parent, const std::string& subKey, RegKey& result) = 0;
    virtual std::int32_t OpenKeyEx(RegKey parent, const std::string& subKey, std::uint32_t access,
                                   RegKey& result) = 0;
    virtual std::int32_t CloseKey(RegKey key) = 0;
    // Deletes the key subKey names under key (an empty subKey: key itself); refused
    // while that key still has sub-keys.
    virtual std::int32_t DeleteKey(RegKey key, const std::string& subKey) = 0;
    // Sub-keys in case-insensitive name order.
    virtual std::int32_t EnumKey(RegKey key, std::uint32_t index, std::string& name) = 0;
    // Values in the order they were first written.
    virtual std::int32_t EnumValue(RegKey key, std::uint32_t index, std::string& name, std::uint32_t& type,
                                   std::string& data) = 0;
    // An empty name is the default value. data may be null to ask only whether it exists.
    virtual std::int32_t QueryValue(RegKey key, const std::string& name, std::uint32_t& type,
                                    std::string* data) = 0;
    virtual std::int32_t SetValue(RegKey key, const std::string& name, std::uint32_t type,
                                  const std::string& data) = 0;
    virtual std::int32_t DeleteValue(RegKey key, const std::string& name) = 0;
};

} // namespace kv
