#include "support/reg_access.h"

#include "support/ascii_text.h"
#include "support/reg_path.h"

namespace kv {

namespace {

// Reads go through a buffer of this many bytes; longer data reads as the default.
constexpr std::size_t kReadBufferBytes = 255;

// One key opened for the length of one call.
class OpenedKey {
public:
    explicit OpenedKey(RegistryBackend& backend) : backend_(backend) {}
    ~OpenedKey()
    {
        if (open_)
            backend_.CloseKey(key_);
    }
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;

    bool create(const std::string& path)
    {
        const RegPath resolved = ResolveRegPath(path);
        open_ = backend_.CreateKey(resolved.root, resolved.subPath, key_) == kRegSuccess;
        return open_;
    }
    bool open(const std::string& path)
    {
        const RegPath resolved = ResolveRegPath(path);
        open_ = backend_.OpenKey(resolved.root, resolved.subPath, key_) == kRegSuccess;
        return open_;
    }
    bool open(const std::string& path, std::uint32_t access)
    {
        const RegPath resolved = ResolveRegPath(path);
        answer_ = backend_.OpenKeyEx(resolved.root, resolved.subPath, access, key_);
        open_ = answer_ == kRegSuccess;
        return open_;
    }
    // The back-end's answer to the last open.
    std::int32_t openAnswer() const { return answer_; }

    RegKey key() const { return key_; }
    // What the write and delete operations answer: the key's handle, non-zero.
    std::int32_t answer() const { return static_cast<std::int32_t>(key_); }

private:
    RegistryBackend& backend_;
    RegKey key_ = 0;
    std::int32_t answer_ = kRegSuccess;
    bool open_ = false;
};

std::optional<std::string> StringFromData(const std::string& data)
{
    if (data.size() > kReadBufferBytes)
        return std::nullopt;
    if (!data.empty() && data.back() == '\0')
        return data.substr(0, data.size() - 1);
    return data;
}

std::optional<std::int32_t> DwordFromData(const std::string& data)
{
    if (data.size() > 4)
        return std::nullopt;
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < data.size(); ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(data[i])) << (8 * i);
    return static_cast<std::int32_t>(value);
}

std::string DwordData(std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    std::string data(4, '\0');
    for (std::size_t i = 0; i < 4; ++i)
        data[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
    return data;
}

} // namespace

clsRegAccess::clsRegAccess(RegistryBackend& backend) : backend_(backend) {}

std::int32_t clsRegAccess::CreateKey(const std::string& path)
{
    OpenedKey key(backend_);
    return key.create(path) ? key.answer() : 0;
}

std::int32_t clsRegAccess::KillKey(const std::string& path)
{
    OpenedKey key(backend_);
    if (!key.open(path, kKeyAllAccess))
        return 0;
    // Refused while the key has sub-keys; the answer still reports the open.
    backend_.DeleteKey(key.key(), {});
    return key.answer();
}

bool clsRegAccess::KeyExists(const std::string& path)
{
    OpenedKey key(backend_);
    return key.open(path, kKeyAllAccess);
}

std::int32_t clsRegAccess::EnumKeys(const std::string& path, std::vector<std::string>& names)
{
    names.clear();
    OpenedKey key(backend_);
    if (!key.open(path))
        return -1;
    std::string name;
    for (std::uint32_t index = 0; backend_.EnumKey(key.key(), index, name) == kRegSuccess; ++index)
        names.push_back(name);
    return static_cast<std::int32_t>(names.size());
}

bool clsRegAccess::HaveSubkey(const std::string& path)
{
    OpenedKey key(backend_);
    std::string name;
    return key.open(path) && backend_.EnumKey(key.key(), 0, name) == kRegSuccess;
}

std::int32_t clsRegAccess::write(const std::string& path, const std::string& valueName, std::uint32_t type,
                                 const std::string& data)
{
    if (!KeyExists(path)) {
        if (!CreateKeyIfDoesntExists)
            return 0;
        CreateKey(path);
    }
    OpenedKey key(backend_);
    if (!key.open(path, kKeyWrite) || backend_.SetValue(key.key(), valueName, type, data) != kRegSuccess)
        return 0;
    return key.answer();
}

std::optional<std::string> clsRegAccess::read(const std::string& path, const std::string& valueName)
{
    OpenedKey key(backend_);
    std::uint32_t type = kRegNone;
    std::string data;
    if (!key.open(path, kKeyRead) || backend_.QueryValue(key.key(), valueName, type, &data) != kRegSuccess)
        return std::nullopt;
    return data;
}

std::int32_t clsRegAccess::WriteString(const std::string& path, const std::string& valueName,
                                       const std::string& value)
{
    return write(path, valueName == "@" ? std::string() : valueName, kRegSz, value + '\0');
}

std::string clsRegAccess::ReadString(const std::string& path, const std::string& valueName,
                                     const std::string& fallback)
{
    const std::optional<std::string> data = read(path, valueName);
    return data ? StringFromData(*data).value_or(fallback) : fallback;
}

tl::expected<std::optional<std::string>, std::int32_t>
clsRegAccess::ReadStringOrFailure(const std::string& path, const std::string& valueName)
{
    OpenedKey key(backend_);
    if (!key.open(path, kKeyRead)) {
        if (key.openAnswer() == kRegFileNotFound)
            return std::nullopt;
        return tl::unexpected(key.openAnswer());
    }
    std::uint32_t type = kRegNone;
    std::string data;
    switch (const std::int32_t answer = backend_.QueryValue(key.key(), valueName, type, &data)) {
    case kRegSuccess:
        return StringFromData(data);
    case kRegFileNotFound:
        return std::nullopt;
    default:
        return tl::unexpected(answer);
    }
}

std::int32_t clsRegAccess::WriteDWORD(const std::string& path, const std::string& valueName,
                                      std::int32_t value)
{
    return write(path, valueName, kRegDword, DwordData(value));
}

std::int32_t clsRegAccess::ReadDWORD(const std::string& path, const std::string& valueName,
                                     std::int32_t fallback)
{
    const std::optional<std::string> data = read(path, valueName);
    return data ? DwordFromData(*data).value_or(fallback) : fallback;
}

std::int32_t clsRegAccess::WriteBinary(const std::string& path, const std::string& valueName,
                                       const std::string& hexText)
{
    std::string text = hexText;
    return write(path, valueName, kRegBinary, StrToBin(text));
}

std::string clsRegAccess::ReadBinary(const std::string& path, const std::string& valueName,
                                     const std::string& fallback)
{
    const std::optional<std::string> data = read(path, valueName);
    return data ? TrimBlanks(BinToStr(*data)) : fallback;
}

std::int32_t clsRegAccess::KillValue(const std::string& path, const std::string& valueName)
{
    OpenedKey key(backend_);
    if (!key.open(path, kKeyAllAccess))
        return 0;
    backend_.DeleteValue(key.key(), valueName);
    return key.answer();
}

bool clsRegAccess::ValueExists(const std::string& path, const std::string& valueName)
{
    OpenedKey key(backend_);
    std::uint32_t type = kRegNone;
    return key.open(path, kKeyRead) &&
           backend_.QueryValue(key.key(), valueName, type, nullptr) == kRegSuccess;
}

std::int32_t clsRegAccess::EnumValues(const std::string& path, std::vector<std::string>& names,
                                      std::vector<RegValue>& values, std::int32_t typeFilter)
{
    OpenedKey key(backend_);
    if (!key.open(path))
        return -1;
    names.clear();
    values.clear();
    std::string name;
    std::string data;
    std::uint32_t type = kRegNone;
    for (std::uint32_t index = 0; backend_.EnumValue(key.key(), index, name, type, data) == kRegSuccess;
         ++index) {
        if (typeFilter != -1 && static_cast<std::uint32_t>(typeFilter) != type)
            continue;
        names.push_back(name);
        switch (type) {
        case kRegBinary:
            values.emplace_back(TrimBlanks(BinToStr(data)));
            break;
        case kRegDword:
            values.emplace_back(DwordFromData(data).value_or(0));
            break;
        case kRegSz:
            values.emplace_back(StringFromData(data).value_or(std::string()));
            break;
        default:
            values.emplace_back();
        }
    }
    return static_cast<std::int32_t>(names.size());
}

} // namespace kv
