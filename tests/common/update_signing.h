#pragma once
// Signed update manifests for tests, made by the real scripts/sign-update with the test key
// that test builds trust (KV_TEST_UPDATE_PUBLIC_KEY), or with a throwaway key they do not.
#include "update/update_integrity.h"

#include <filesystem>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

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

// Runs a program with its arguments and returns its exit status (-1 when it did not run).
inline int RunProgram(std::vector<std::string> words)
{
    std::vector<char*> argv;
    for (auto& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// Fills the manifest's [SHA256] section from files and writes manifest + ".sig".
inline void SignManifest(const std::filesystem::path& manifest, const std::vector<std::filesystem::path>& files,
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
