#pragma once
// Signed update manifests for tests, made by the real scripts/sign-update with the test key
// that test builds trust (KV_TEST_UPDATE_PUBLIC_KEY), or with a throwaway key they do not.
#include "common/run_program.h"
#include "update/update_integrity.h"

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace kv::test {

inline const std::filesystem::path& TestSigningKey()
{
    static const std::filesystem::path key =
        std::filesystem::path(KV_SOURCE_DIR) / "tests" / "fixtures" / "update" / "test_signing_key.pem";
    return key;
}

inline UpdatePublicKey TestUpdateKey()
{
    const auto key = UpdatePublicKeyFromHex(KV_TEST_UPDATE_PUBLIC_KEY);
    if (!key)
        throw std::logic_error("KV_TEST_UPDATE_PUBLIC_KEY is not a key");
    return *key;
}

// Fills the manifest's [SHA256] section from files and writes manifest + ".sig".
inline void SignManifest(const std::filesystem::path& manifest,
                         const std::vector<std::filesystem::path>& files,
                         const std::filesystem::path& key = TestSigningKey())
{
    std::vector<std::string> words{std::string(KV_SOURCE_DIR) + "/scripts/sign-update", key.string(),
                                   manifest.string()};
    for (const auto& file : files)
        words.push_back(file.string());
    if (RunProgram(words) != 0)
        throw std::runtime_error("scripts/sign-update failed for " + manifest.string());
}

// A fresh Ed25519 key that no build trusts.
inline std::filesystem::path MakeUntrustedKey(const std::filesystem::path& folder)
{
    const std::filesystem::path key = folder / "untrusted.pem";
    if (RunProgram({"openssl", "genpkey", "-algorithm", "ed25519", "-out", key.string()}) != 0)
        throw std::runtime_error("openssl could not make a key");
    return key;
}

} // namespace kv::test
