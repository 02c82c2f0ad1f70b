#pragma once
// An INI text file held in memory: sections of "key=value" lines. Section and key
// names match without regard to ASCII case; the first of duplicate sections or keys
// is the one read and written. Every line that is neither a section header nor a
// key line (comments, blanks, junk) is kept where it stands, and sections and keys
// keep their order. CRLF and LF line ends are read; LF is written.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <tl/expected.hpp>
#include <vector>

namespace kv {

class IniFile {
public:
    // Larger files are refused rather than read: no INI file of ours comes near it.
    static constexpr std::uintmax_t kMaxFileSize = 64u << 20;

    static IniFile parse(std::string_view text);
    // An absent file is an empty IniFile; other failures are errors.
    static tl::expected<IniFile, std::error_code> load(const std::filesystem::path& file);

    std::string serialize() const;
    // Atomic: a temp file in the same folder, fsync, rename over the file, fsync the
    // folder. The file is owner-only (0600). The folder must exist. A link in the file's
    // place is refused, never replaced.
    tl::expected<void, std::error_code> save(const std::filesystem::path& file) const;

    // The value exactly as stored after "=", or nullopt when section or key is absent.
    std::optional<std::string_view> value(std::string_view section, std::string_view key) const;
    // A value holds one line: it is cut at the first CR, LF or NUL so that no value
    // can forge further keys or sections.
    void setValue(std::string_view section, std::string_view key, std::string_view value);
    // false when there was nothing to remove.
    bool removeKey(std::string_view section, std::string_view key);
    bool removeSection(std::string_view section);

    std::vector<std::string> sectionNames() const;
    // Key names of the first section of that name, in file order (empty when absent).
    std::vector<std::string> keyNames(std::string_view section) const;

private:
    // One line as stored, without its line end. A key line remembers where its key
    // and value lie in the text.
    struct Line {
        std::string text;
        std::size_t keyBegin = 0;
        std::size_t keyLength = 0;
        std::size_t valueBegin = std::string::npos;

        bool isKey() const { return valueBegin != std::string::npos; }
        std::string_view key() const { return std::string_view(text).substr(keyBegin, keyLength); }
        std::string_view value() const { return std::string_view(text).substr(valueBegin); }
    };
    struct Section {
        std::string header; // the "[name]" line as stored
        std::string name;
        std::vector<Line> lines;
    };

    Section* findSection(std::string_view name);
    const Section* findSection(std::string_view name) const;
    static Line keyLine(std::string_view key, std::string_view value);

    bool byteOrderMark_ = false;
    std::vector<Line> preamble_; // lines before the first section
    std::vector<Section> sections_;
};

// The whole text of an INI file: "" when it is absent; an error when it cannot be
// read, is not a regular file or is larger than IniFile::kMaxFileSize.
tl::expected<std::string, std::error_code> ReadIniText(const std::filesystem::path& file);

// The same rules as IniFile::parse, without building it: the value of the first
// matching key of the first matching section of text, or nullopt.
std::optional<std::string_view> FindIniValue(std::string_view text, std::string_view section,
                                             std::string_view key);

} // namespace kv
