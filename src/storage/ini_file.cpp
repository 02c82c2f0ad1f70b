#include "storage/ini_file.h"

#include "storage/atomic_file.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kv {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

// What one line of INI text is.
struct LineShape {
    enum class Kind { Section, Key, Other } kind = Kind::Other;
    std::string_view name; // section name or key, trimmed
    std::size_t valueBegin = 0;
};

LineShape Classify(std::string_view line)
{
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#')
        return {};
    if (trimmed.front() == '[') {
        const std::size_t close = trimmed.find(']');
        if (close == std::string_view::npos)
            return {};
        return {LineShape::Kind::Section, Trim(trimmed.substr(1, close - 1)), 0};
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return {};
    const std::string_view key = Trim(line.substr(0, equals));
    if (key.empty())
        return {};
    return {LineShape::Kind::Key, key, equals + 1};
}

// Calls onLine for every line of text without its line end (LF, CRLF, CRCRLF...).
template <typename OnLine> void ForEachLine(std::string_view text, OnLine onLine)
{
    if (text.starts_with(kByteOrderMark))
        text.remove_prefix(kByteOrderMark.size());
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        // Every CR before the LF goes, so that a rewritten file reads the same.
        while (line.ends_with('\r'))
            line.remove_suffix(1);
        if (!onLine(line))
            return;
    }
}

std::string_view OneLine(std::string_view value)
{
    return value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3)));
}

std::error_code LastError()
{
    return {errno, std::generic_category()};
}

} // namespace

tl::expected<std::string, std::error_code> ReadIniText(const std::filesystem::path& file)
{
    // Non-blocking, so a FIFO in place of the file cannot hang us; it is refused below.
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT)
            return std::string();
        return tl::unexpected(LastError());
    }
    struct FdCloser {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return tl::unexpected(LastError());
    if (!S_ISREG(info.st_mode))
        return tl::unexpected(std::make_error_code(std::errc::invalid_argument));
    if (static_cast<std::uintmax_t>(info.st_size) > IniFile::kMaxFileSize)
        return tl::unexpected(std::make_error_code(std::errc::file_too_large));
    // Read to the end rather than trusting the size: the file may change under us.
    std::string text(static_cast<std::size_t>(info.st_size) + 1, '\0');
    std::size_t used = 0;
    for (;;) {
        if (used == text.size()) {
            if (text.size() > IniFile::kMaxFileSize)
                return tl::unexpected(std::make_error_code(std::errc::file_too_large));
            text.resize(text.size() * 2);
        }
        const ssize_t got = ::read(fd, text.data() + used, text.size() - used);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return tl::unexpected(LastError());
        }
        if (got == 0)
            break;
        used += static_cast<std::size_t>(got);
    }
    text.resize(used);
    return text;
}

std::optional<std::string_view> FindIniValue(std::string_view text, std::string_view section,
                                             std::string_view key)
{
    enum class Where { Before, Inside, After } where = Where::Before;
    std::optional<std::string_view> found;
    ForEachLine(text, [&](std::string_view line) {
        const LineShape shape = Classify(line);
        if (shape.kind == LineShape::Kind::Section) {
            if (where == Where::Inside)
                where = Where::After;
            else if (where == Where::Before && SameName(shape.name, section))
                where = Where::Inside;
        } else if (where == Where::Inside && shape.kind == LineShape::Kind::Key &&
                   SameName(shape.name, key)) {
            found = line.substr(shape.valueBegin);
        }
        return !found && where != Where::After;
    });
    return found;
}

IniFile IniFile::parse(std::string_view text)
{
    IniFile ini;
    ini.byteOrderMark_ = text.starts_with(kByteOrderMark);
    ForEachLine(text, [&ini](std::string_view raw) {
        const LineShape shape = Classify(raw);
        if (shape.kind == LineShape::Kind::Section) {
            ini.sections_.push_back({std::string(raw), std::string(shape.name), {}});
            return true;
        }
        Line line{std::string(raw)};
        if (shape.kind == LineShape::Kind::Key) {
            line.keyBegin = static_cast<std::size_t>(shape.name.data() - raw.data());
            line.keyLength = shape.name.size();
            line.valueBegin = shape.valueBegin;
        }
        (ini.sections_.empty() ? ini.preamble_ : ini.sections_.back().lines).push_back(std::move(line));
        return true;
    });
    return ini;
}

tl::expected<IniFile, std::error_code> IniFile::load(const std::filesystem::path& file)
{
    return ReadIniText(file).map([](const std::string& text) { return parse(text); });
}

std::string IniFile::serialize() const
{
    std::string text(byteOrderMark_ ? kByteOrderMark : "");
    for (const Line& line : preamble_)
        text.append(line.text).push_back('\n');
    for (const Section& section : sections_) {
        text.append(section.header).push_back('\n');
        for (const Line& line : section.lines)
            text.append(line.text).push_back('\n');
    }
    return text;
}

tl::expected<void, std::error_code> IniFile::save(const std::filesystem::path& file) const
{
    return ReplaceFileWhole(file, serialize());
}

IniFile::Section* IniFile::findSection(std::string_view name)
{
    auto it = std::find_if(sections_.begin(), sections_.end(),
                           [name](const Section& s) { return SameName(s.name, name); });
    return it == sections_.end() ? nullptr : &*it;
}

const IniFile::Section* IniFile::findSection(std::string_view name) const
{
    return const_cast<IniFile*>(this)->findSection(name);
}

IniFile::Line IniFile::keyLine(std::string_view key, std::string_view value)
{
    Line line{std::string(key)};
    line.text.append(1, '=').append(value);
    line.keyLength = key.size();
    line.valueBegin = key.size() + 1;
    return line;
}

std::optional<std::string_view> IniFile::value(std::string_view section, std::string_view key) const
{
    const Section* found = findSection(section);
    if (!found)
        return std::nullopt;
    for (const Line& line : found->lines)
        if (line.isKey() && SameName(line.key(), key))
            return line.value();
    return std::nullopt;
}

void IniFile::setValue(std::string_view section, std::string_view key, std::string_view value)
{
    value = OneLine(value);
    Section* target = findSection(section);
    if (!target) {
        std::string header(1, '[');
        header.append(section).push_back(']');
        sections_.push_back({std::move(header), std::string(section), {}});
        target = &sections_.back();
    }
    auto& lines = target->lines;
    for (Line& line : lines) {
        if (line.isKey() && SameName(line.key(), key)) {
            line.text.replace(line.valueBegin, std::string::npos, value);
            return;
        }
    }
    // After the section's last non-blank line, so blank lines between sections stay between them.
    auto lastFilled =
        std::find_if(lines.rbegin(), lines.rend(), [](const Line& l) { return !Trim(l.text).empty(); });
    lines.insert(lastFilled.base(), keyLine(key, value));
}

bool IniFile::removeKey(std::string_view section, std::string_view key)
{
    Section* target = findSection(section);
    if (!target)
        return false;
    return std::erase_if(target->lines,
                         [key](const Line& l) { return l.isKey() && SameName(l.key(), key); }) > 0;
}

bool IniFile::removeSection(std::string_view section)
{
    return std::erase_if(sections_, [section](const Section& s) { return SameName(s.name, section); }) > 0;
}

std::vector<std::string> IniFile::sectionNames() const
{
    std::vector<std::string> names;
    for (const Section& section : sections_)
        names.push_back(section.name);
    return names;
}

std::vector<std::string> IniFile::keyNames(std::string_view section) const
{
    std::vector<std::string> names;
    if (const Section* found = findSection(section))
        for (const Line& line : found->lines)
            if (line.isKey())
                names.emplace_back(line.key());
    return names;
}

} // namespace kv
