#pragma once
// What makes an update trustworthy: the maker's Ed25519 signature over the manifest's exact
// bytes, and the SHA-256 of every file the manifest names.
#include <array>
#include <filesystem>
#include <optional>
#include <string_view>

namespace kv {

using Sha256Digest = std::array<unsigned char, 32>;
using UpdatePublicKey = std::array<unsigned char, 32>;

// Exactly 64 hexadecimal digits (either case), or nullopt.
std::optional<Sha256Digest> Sha256FromHex(std::string_view hex);
std::optional<UpdatePublicKey> UpdatePublicKeyFromHex(std::string_view hex);

// nullopt when the file cannot be read to its end.
std::optional<Sha256Digest> Sha256OfFile(const std::filesystem::path& file);

// A detached signature of 64 bytes made with the private half of key.
bool SignatureMatches(std::string_view message, std::string_view signature, const UpdatePublicKey& key);

} // namespace kv
