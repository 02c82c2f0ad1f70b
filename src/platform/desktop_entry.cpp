#include "platform/desktop_entry.h"

#include "storage/atomic_file.h"

#include <sstream>

namespace kv {

namespace {

constexpr std::string_view kGroupHeader = "[Desktop Entry]";
constexpr std::string_view kExecKey = "Exec=";

// Inside a quoted Exec argument, these four are escaped with a backslash.
bool NeedsQuotedEscape(char c)
{
    return c == '"' || c == '`' || c == '$' || c == '\\';
}

// A string value's own escapes come on top: backslash and the control characters.
std::string EscapeString(std::string_view text)
{
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '\\':
            escaped += "\\\\";
            break;
        case '\n':
            escaped += "\\n";
            break;
        case '\t':
            escaped += "\\t";
            break;
        case '\r':
            escaped += "\\r";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string UnescapeString(std::string_view text)
{
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            plain += text[i];
            continue;
        }
        switch (text[++i]) {
        case 's':
            plain += ' ';
            break;
        case 'n':
            plain += '\n';
            break;
        case 't':
            plain += '\t';
            break;
        case 'r':
            plain += '\r';
            break;
        default:
            plain += text[i];
        }
    }
    return plain;
}

std::string QuotedProgram(const std::filesystem::path& program)
{
    std::string quoted = "\"";
    for (const char c : program.string()) {
        if (NeedsQuotedEscape(c))
            quoted += '\\';
        quoted += c;
        // A field code starts with "%"; a literal one is doubled.
        if (c == '%')
            quoted += '%';
    }
    return quoted + '"';
}

std::string FirstArgument(std::string_view exec)
{
    std::string argument;
    if (!exec.starts_with('"')) {
        argument = exec.substr(0, exec.find(' '));
    } else {
        for (std::size_t i = 1; i < exec.size() && exec[i] != '"'; ++i) {
            if (exec[i] == '\\' && i + 1 < exec.size())
                ++i;
            argument += exec[i];
        }
    }
    std::string literal;
    for (std::size_t i = 0; i < argument.size(); ++i) {
        literal += argument[i];
        if (argument[i] == '%' && i + 1 < argument.size() && argument[i + 1] == '%')
            ++i;
    }
    return literal;
}

} // namespace

std::string DesktopEntryText(const DesktopEntry& entry)
{
    std::string text = std::string(kGroupHeader) + "\nType=Application\nVersion=1.0\n";
    text += "Name=" + EscapeString(entry.name) + "\n";
    if (!entry.comment.empty())
        text += "Comment=" + EscapeString(entry.comment) + "\n";
    text += std::string(kExecKey) + EscapeString(QuotedProgram(entry.program)) + "\n";
    text += "Icon=" + std::string(kDesktopIconName) + "\nTerminal=false\n";
    if (!entry.categories.empty())
        text += "Categories=" + entry.categories + "\n";
    return text;
}

bool WriteDesktopEntry(const std::filesystem::path& file, const DesktopEntry& entry)
{
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    return ReplaceFileWhole(file, DesktopEntryText(entry)).has_value();
}

std::optional<std::filesystem::path> DesktopEntryProgram(std::string_view text)
{
    std::istringstream lines{std::string(text)};
    bool inGroup = false;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.starts_with('['))
            inGroup = line == kGroupHeader;
        else if (inGroup && line.starts_with(kExecKey))
            return FirstArgument(UnescapeString(std::string_view(line).substr(kExecKey.size())));
    }
    return std::nullopt;
}

} // namespace kv
