#include "update/update_integrity.h"

#include <openssl/evp.h>

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <span>
#include <unistd.h>

namespace kv {
namespace {

constexpr std::size_t kSignatureBytes = 64;

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool DecodeHex(std::string_view hex, std::span<unsigned char> bytes)
{
    if (hex.size() != bytes.size() * 2)
        return false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const int high = HexDigit(hex[2 * i]);
        const int low = HexDigit(hex[2 * i + 1]);
        if (high < 0 || low < 0)
            return false;
        bytes[i] = static_cast<unsigned char>(high * 16 + low);
    }
    return true;
}

template <typename Bytes> std::optional<Bytes> FromHex(std::string_view hex)
{
    Bytes bytes{};
    if (!DecodeHex(hex, bytes))
        return std::nullopt;
    return bytes;
}

struct DigestContextFree {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
struct KeyFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};

} // namespace

std::optional<Sha256Digest> Sha256FromHex(std::string_view hex)
{
    return FromHex<Sha256Digest>(hex);
}

std::optional<UpdatePublicKey> UpdatePublicKeyFromHex(std::string_view hex)
{
    return FromHex<UpdatePublicKey>(hex);
}

std::optional<Sha256Digest> Sha256OfFile(const std::filesystem::path& file)
{
    const std::unique_ptr<EVP_MD_CTX, DigestContextFree> context(EVP_MD_CTX_new());
    if (!context || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1)
        return std::nullopt;
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    bool whole = false;
    char block[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(fd, block, sizeof block);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            whole = got == 0;
            break;
        }
        if (EVP_DigestUpdate(context.get(), block, static_cast<std::size_t>(got)) != 1)
            break;
    }
    ::close(fd);
    Sha256Digest digest{};
    unsigned int length = 0;
    if (!whole || EVP_DigestFinal_ex(context.get(), digest.data(), &length) != 1 || length != digest.size())
        return std::nullopt;
    return digest;
}

bool SignatureMatches(std::string_view message, std::string_view signature, const UpdatePublicKey& key)
{
    if (signature.size() != kSignatureBytes)
        return false;
    const std::unique_ptr<EVP_PKEY, KeyFree> publicKey(
        EVP_PKEY_new_raw_public_key(EVP_PKEY_ED25519, nullptr, key.data(), key.size()));
    const std::unique_ptr<EVP_MD_CTX, DigestContextFree> context(EVP_MD_CTX_new());
    if (!publicKey || !context ||
        EVP_DigestVerifyInit(context.get(), nullptr, nullptr, nullptr, publicKey.get()) != 1)
        return false;
    return EVP_DigestVerify(context.get(), reinterpret_cast<const unsigned char*>(signature.data()),
                            signature.size(), reinterpret_cast<const unsigned char*>(message.data()),
                            message.size()) == 1;
}

} // namespace kv
