#include "update/update_manifest.h"

#include "storage/ini_file.h"
#include "support/ascii_text.h"

#include <algorithm>

namespace kv {
namespace {

constexpr std::string_view kUpdateSection = "Update";
constexpr std::string_view kDigestSection = "SHA256";
constexpr std::size_t kMaxFileNameLength = 255;

std::string ValueOf(const IniFile& ini, std::string_view section, std::string_view key)
{
    const auto value = ini.value(section, key);
    return value ? TrimBlanks(*value) : std::string();
}

bool IsWebAddress(std::string_view text)
{
    const std::string lower = LowerCaseAscii(text.substr(0, 8));
    return (lower.starts_with("http://") && text.size() > 7) ||
           (lower.starts_with("https://") && text.size() > 8);
}

bool IsVersion(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
           std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
}

// Absent, empty or below 1 means none; the leading whole number counts.
tl::expected<int, ManifestError> HelperCount(std::string_view text)
{
    if (text.starts_with('-'))
        return 0;
    if (text.starts_with('+'))
        text.remove_prefix(1);
    long long count = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            break;
        count = count * 10 + (c - '0');
        if (count > kMaxHelperFiles)
            return tl::unexpected(ManifestError::TooManyFiles);
    }
    return static_cast<int>(count);
}

// A helper lands in the program folder under its own name: it must be one plain name that
// cannot reach elsewhere, hide itself, or stand in for the files the update itself uses.
bool IsHelperName(std::string_view name, std::string_view programName)
{
    if (name.empty() || name.size() > kMaxFileNameLength || name.front() == '.')
        return false;
    const bool plain = std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
               c == '_' || c == '-' || c == '+';
    });
    if (!plain)
        return false;
    const std::string lower = LowerCaseAscii(name);
    return !EqualsIgnoringCase(name, programName) && !lower.starts_with("manifest.ini") &&
           !lower.ends_with(".new") && !lower.ends_with(".backup");
}

} // namespace

tl::expected<UpdateManifest, ManifestError> ReadUpdateManifest(std::string_view text,
                                                               std::string_view programName)
{
    const IniFile ini = IniFile::parse(text);
    UpdateManifest manifest;
    manifest.version = ValueOf(ini, kUpdateSection, "Version");
    if (!IsVersion(manifest.version))
        return tl::unexpected(ManifestError::BadVersion);
    manifest.source = ValueOf(ini, kUpdateSection, "Source");
    if (!IsWebAddress(manifest.source))
        return tl::unexpected(ManifestError::BadSource);
    manifest.news = ValueOf(ini, kUpdateSection, "News");
    if (!manifest.news.empty() && !IsWebAddress(manifest.news))
        return tl::unexpected(ManifestError::BadNews);

    const auto digestOf = [&](std::string_view name) {
        return Sha256FromHex(ValueOf(ini, kDigestSection, name));
    };
    const auto executable = digestOf(programName);
    if (!executable)
        return tl::unexpected(ManifestError::MissingDigest);
    manifest.executableDigest = *executable;

    const auto count = HelperCount(ValueOf(ini, kUpdateSection, "FileCount"));
    if (!count)
        return tl::unexpected(count.error());
    for (int i = 1; i <= *count; ++i) {
        std::string name = ValueOf(ini, kUpdateSection, "File" + std::to_string(i));
        const bool repeated =
            std::any_of(manifest.helpers.begin(), manifest.helpers.end(),
                        [&](const HelperFile& h) { return EqualsIgnoringCase(h.name, name); });
        if (repeated || !IsHelperName(name, programName))
            return tl::unexpected(ManifestError::BadFileName);
        const auto digest = digestOf(name);
        if (!digest)
            return tl::unexpected(ManifestError::MissingDigest);
        manifest.helpers.push_back({std::move(name), *digest});
    }
    return manifest;
}

} // namespace kv
