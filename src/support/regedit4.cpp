// REGEDIT4 files: the registry class writes a key tree to one and applies one to the
// registry. Lines end with CR LF; names and values are written without escaping.
#include "support/reg_access.h"

#include "support/reg_path.h"
#include "support/ascii_text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace kv {

namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::string_view kLineEnd = "\r\n";

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view upperPrefix)
{
    return UpperCaseAscii(text.substr(0, upperPrefix.size())) == upperPrefix;
}

void AppendLine(std::string& out, std::string_view line)
{
    out += line;
    out += kLineEnd;
}

std::string Quoted(const std::string& text)
{
    return '"' + text + '"';
}

std::string DwordHex(std::int32_t value)
{
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08X", static_cast<unsigned>(static_cast<std::uint32_t>(value)));
    return digits;
}

// One to eight hex digits; anything else cannot be a DWORD.
std::optional<std::int32_t> ParseDwordHex(const std::string& text)
{
    if (text.empty() || text.size() > 8 ||
        text.find_first_not_of("0123456789ABCDEFabcdef") != std::string::npos)
        return std::nullopt;
    return static_cast<std::int32_t>(std::stoul(text, nullptr, 16));
}

bool WriteAll(int fd, const std::string& text)
{
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += static_cast<std::size_t>(n);
    }
    return ::fsync(fd) == 0;
}

// The file appears whole or not at all, and an existing file is never replaced: the
// text goes to a temporary file beside it that is then linked under the final name.
bool CreateNewFile(const std::filesystem::path& file, const std::string& text)
{
    std::string temporary = (file.parent_path() / ("." + file.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return false;
    const bool complete = WriteAll(fd, text);
    ::fchmod(fd, 0644);
    ::close(fd);
    const bool linked = complete && ::link(temporary.c_str(), file.c_str()) == 0;
    ::unlink(temporary.c_str());
    return linked;
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(kLineEnd, start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            return lines;
        start = end + kLineEnd.size();
    }
}

std::string WithoutQuotes(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), '"'), text.end());
    return text;
}

class Exporter {
public:
    Exporter(clsRegAccess& registry, const std::function<void(const std::string&)>& statusDisplay)
        : registry_(registry), statusDisplay_(statusDisplay)
    {
    }

    // Depth first, each key before its sub-keys; stops at the first key that cannot be read.
    bool exportKey(const std::string& path, bool recursive, std::string& out)
    {
        const std::string fullPath = WithFullRootName(path);
        if (statusDisplay_)
            statusDisplay_(fullPath);
        std::vector<std::string> strings, binaries, dwords;
        std::vector<RegValue> stringValues, binaryValues, dwordValues;
        if (registry_.EnumValues(path, strings, stringValues, kRegSz) < 0 ||
            registry_.EnumValues(path, binaries, binaryValues, kRegBinary) < 0 ||
            registry_.EnumValues(path, dwords, dwordValues, kRegDword) < 0)
            return false;

        AppendLine(out, "[" + fullPath + "]");
        // Only a text default has an "@" line; others appear under an empty name below.
        const bool textDefault = std::find(strings.begin(), strings.end(), std::string()) != strings.end();
        const std::string noDefault(1, '\0');
        if (const std::string defaultValue = registry_.ReadString(path, {}, noDefault);
            textDefault && defaultValue != noDefault)
            AppendLine(out, "@=" + Quoted(defaultValue));
        for (std::size_t i = 0; i < strings.size(); ++i)
            if (!strings[i].empty())
                AppendLine(out, Quoted(strings[i]) + "=" + Quoted(std::get<std::string>(stringValues[i])));
        for (std::size_t i = 0; i < binaries.size(); ++i) {
            std::string bytes = std::get<std::string>(binaryValues[i]);
            std::replace(bytes.begin(), bytes.end(), ' ', ',');
            AppendLine(out, Quoted(binaries[i]) + "=hex:" + bytes);
        }
        for (std::size_t i = 0; i < dwords.size(); ++i)
            AppendLine(out, Quoted(dwords[i]) + "=dword:" + DwordHex(std::get<std::int32_t>(dwordValues[i])));
        out += kLineEnd;

        if (!recursive)
            return true;
        std::vector<std::string> subKeys;
        if (registry_.EnumKeys(path, subKeys) < 0)
            return false;
        for (const std::string& subKey : subKeys)
            if (!exportKey(path + "\\" + subKey, true, out))
                return false;
        return true;
    }

private:
    clsRegAccess& registry_;
    const std::function<void(const std::string&)>& statusDisplay_;
};

class Importer {
public:
    explicit Importer(clsRegAccess& registry) : registry_(registry) {}

    // False when a value line cannot be understood; what came before it stays applied.
    bool apply(const std::vector<std::string>& lines)
    {
        std::size_t next = 1;
        while (next < lines.size()) {
            const std::string line = WithoutQuotes(TrimBlanks(lines[next++]));
            if (!StartsWith(line, "["))
                continue;
            const std::string path = line.size() >= 2 ? line.substr(1, line.size() - 2) : std::string();
            if (StartsWith(path, "-")) {
                registry_.KillKey(path.substr(1));
                continue;
            }
            for (; next < lines.size(); ++next) {
                const std::string valueLine = WithoutQuotes(TrimBlanks(lines[next]));
                if (StartsWith(valueLine, "["))
                    break;
                if (!applyValue(path, valueLine))
                    return false;
            }
        }
        return true;
    }

private:
    bool applyValue(const std::string& path, const std::string& line)
    {
        const std::size_t equals = line.find('=');
        if (line.empty() || StartsWith(line, ";") || equals == std::string::npos)
            return true;
        const std::string name = line.substr(0, equals);
        const std::size_t secondEquals = line.find('=', equals + 1);
        const std::string text = line.substr(
            equals + 1, secondEquals == std::string::npos ? std::string::npos : secondEquals - equals - 1);

        if (TrimBlanks(text) == "-") {
            registry_.KillValue(path, name);
        } else if (StartsWithIgnoringCase(text, "HEX:")) {
            std::string bytes = text.substr(4);
            std::replace(bytes.begin(), bytes.end(), ',', ' ');
            registry_.WriteBinary(path, name, bytes);
        } else if (StartsWithIgnoringCase(text, "DWORD:")) {
            const std::optional<std::int32_t> value = ParseDwordHex(text.substr(6));
            if (!value)
                return false;
            registry_.WriteDWORD(path, name, *value);
        } else {
            registry_.WriteString(path, name, text);
            if (name == "@" && text.empty())
                registry_.KillValue(path, {});
        }
        return true;
    }

    clsRegAccess& registry_;
};

} // namespace

std::int32_t clsRegAccess::ExportToReg(const std::string& path, const std::string& fileName, bool recursive,
                                       const std::function<void(const std::string&)>& statusDisplay)
{
    try {
        std::error_code error;
        if (std::filesystem::symlink_status(fileName, error).type() != std::filesystem::file_type::not_found)
            return 0;
        std::string text;
        AppendLine(text, kHeader);
        text += kLineEnd;
        // A key that cannot be read ends the export; the keys before it are still written.
        const bool complete = Exporter(*this, statusDisplay).exportKey(path, recursive, text);
        return CreateNewFile(fileName, text) && complete ? 1 : 0;
    } catch (const std::exception&) {
        return 0;
    }
}

std::int32_t clsRegAccess::ImportFromReg(const std::string& fileName)
{
    CreateKeyIfDoesntExists = true;
    try {
        std::ifstream file(fileName, std::ios::binary);
        if (!file)
            return 0;
        const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        if (file.bad())
            return 0;
        const std::vector<std::string> lines = SplitLines(text);
        if (UpperCaseAscii(lines.front()) != kHeader)
            return 0;
        return Importer(*this).apply(lines) ? 1 : 0;
    } catch (const std::exception&) {
        return 0;
    }
}

} // namespace kv
