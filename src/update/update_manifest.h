#pragma once
// The update manifest: INI text with the offered release in section "Update" (Version,
// Source, FileCount, File1…FileN, News) and the SHA-256 of every file it names in section
// "SHA256" (file name = 64 hexadecimal digits). It is read only after its signature matched.
#include "update/update_integrity.h"

#include <string>
#include <string_view>
#include <tl/expected.hpp>
#include <vector>

namespace kv {

// More helper files than any release has had; a larger count marks a broken manifest.
inline constexpr int kMaxHelperFiles = 64;

struct HelperFile {
    std::string name; // a plain file name, stored in the program folder under it
    Sha256Digest digest{};
};

struct UpdateManifest {
    std::string version; // digits and dots
    std::string source;  // an http:// or https:// prefix of every download
    Sha256Digest executableDigest{};
    std::vector<HelperFile> helpers;
    std::string news; // an http:// or https:// address, or empty
};

enum class ManifestError {
    BadVersion,    // missing, or not digits and dots
    BadSource,     // missing, or not a web address
    TooManyFiles,  // FileCount above kMaxHelperFiles
    BadFileName,   // empty, a path, hidden, reserved or repeated
    MissingDigest, // a named file without its SHA-256
    BadNews,       // not a web address
};

// programName: the running executable's file name, whose digest the manifest must carry.
tl::expected<UpdateManifest, ManifestError> ReadUpdateManifest(std::string_view text,
                                                               std::string_view programName);

} // namespace kv
