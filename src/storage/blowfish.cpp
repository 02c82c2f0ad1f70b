#include "storage/blowfish.h"

#include "storage/secure_random.h"

#include <algorithm>
#include <array>

namespace kv {

namespace {

constexpr std::size_t kBlockSize = 8;
constexpr std::size_t kEnvelopeHeader = 12;
constexpr std::size_t kKeyBytesUsed = 72;

std::uint32_t GetWord(const char* at)
{
    const auto* b = reinterpret_cast<const unsigned char*>(at);
    return std::uint32_t{b[0]} << 24 | std::uint32_t{b[1]} << 16 | std::uint32_t{b[2]} << 8 | b[3];
}

void PutWord(std::uint32_t value, char* at)
{
    auto* b = reinterpret_cast<unsigned char*>(at);
    b[0] = static_cast<unsigned char>(value >> 24);
    b[1] = static_cast<unsigned char>(value >> 16);
    b[2] = static_cast<unsigned char>(value >> 8);
    b[3] = static_cast<unsigned char>(value);
}

// The envelope's own words (R1, R2, n) are little-endian.
void PutLittleEndian(std::uint32_t value, char* at)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<char>(value >> (8 * i));
}

std::uint32_t GetLittleEndian(const char* at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(at[i]);
    return value;
}

std::size_t EnvelopeLength(std::size_t plaintextLength)
{
    return (plaintextLength + kEnvelopeHeader + kBlockSize - 1) / kBlockSize * kBlockSize;
}

} // namespace

clsBlowfish::clsBlowfish() : tables_(kBlowfishInitialState) {}

void clsBlowfish::setProgressHandler(ProgressHandler handler)
{
    progress_ = std::move(handler);
}

std::uint32_t clsBlowfish::F(std::uint32_t x) const
{
    const auto& S = tables_.S;
    return ((S[0][x >> 24] + S[1][(x >> 16) & 0xFF]) ^ S[2][(x >> 8) & 0xFF]) + S[3][x & 0xFF];
}

void clsBlowfish::encryptBlock(std::uint32_t& xL, std::uint32_t& xR) const
{
    const auto& P = tables_.P;
    std::uint32_t l = xL;
    std::uint32_t r = xR;
    // Unrolled, the round keys are plain loads at fixed offsets.
#pragma GCC unroll 8
    for (int i = 0; i < 16; i += 2) {
        l ^= P[i];
        r ^= F(l);
        r ^= P[i + 1];
        l ^= F(r);
    }
    xL = r ^ P[17];
    xR = l ^ P[16];
}

void clsBlowfish::decryptBlock(std::uint32_t& xL, std::uint32_t& xR) const
{
    const auto& P = tables_.P;
    std::uint32_t l = xR ^ P[16];
    std::uint32_t r = xL ^ P[17];
#pragma GCC unroll 8
    for (int j = 14; j >= 0; j -= 2) {
        l ^= F(r);
        r ^= P[j + 1];
        r ^= F(l);
        l ^= P[j];
    }
    xL = l;
    xR = r;
}

void clsBlowfish::Key(std::string_view newValue)
{
    if (newValue == key_)
        return;
    key_ = newValue;
    // Always from the published initial tables, so the result never depends on
    // which keys this object held before.
    tables_ = kBlowfishInitialState;
    if (!newValue.empty()) {
        const std::string_view used = newValue.substr(0, kKeyBytesUsed);
        std::size_t next = 0;
        for (auto& p : tables_.P) {
            std::uint32_t word = 0;
            for (int i = 0; i < 4; ++i) {
                word = word << 8 | static_cast<unsigned char>(used[next]);
                if (++next == used.size())
                    next = 0;
            }
            p ^= word;
        }
    }
    std::uint32_t xL = 0;
    std::uint32_t xR = 0;
    for (std::size_t i = 0; i < tables_.P.size(); i += 2) {
        encryptBlock(xL, xR);
        tables_.P[i] = xL;
        tables_.P[i + 1] = xR;
    }
    for (auto& box : tables_.S) {
        for (std::size_t j = 0; j < box.size(); j += 2) {
            encryptBlock(xL, xR);
            box[j] = xL;
            box[j + 1] = xR;
        }
    }
}

std::size_t clsBlowfish::reportProgress(std::size_t offset, std::size_t length)
{
    const auto percent = static_cast<std::int32_t>(offset * 100 / length);
    lastPercent_ = percent;
    if (progress_)
        progress_(percent);
    return ((static_cast<std::size_t>(percent) + 1) * length + 50) / 100 + 1;
}

void clsBlowfish::reportDone()
{
    if (lastPercent_ != 100) {
        lastPercent_ = 100;
        if (progress_)
            progress_(100);
    }
}

void clsBlowfish::EncryptBlocks(std::span<char> blocks)
{
    const std::size_t length = blocks.size() - blocks.size() % kBlockSize;
    std::uint32_t chainL = 0;
    std::uint32_t chainR = 0;
    std::size_t nextReport = 0;
    for (std::size_t offset = 0; offset < length; offset += kBlockSize) {
        char* block = blocks.data() + offset;
        chainL ^= GetWord(block);
        chainR ^= GetWord(block + 4);
        encryptBlock(chainL, chainR);
        PutWord(chainL, block);
        PutWord(chainR, block + 4);
        if (offset >= nextReport) [[unlikely]]
            nextReport = reportProgress(offset, length);
    }
}

void clsBlowfish::DecryptBlocks(std::span<char> blocks)
{
    const std::size_t length = blocks.size() - blocks.size() % kBlockSize;
    std::uint32_t chainL = 0;
    std::uint32_t chainR = 0;
    std::size_t nextReport = 0;
    for (std::size_t offset = 0; offset < length; offset += kBlockSize) {
        char* block = blocks.data() + offset;
        const std::uint32_t cipherL = GetWord(block);
        const std::uint32_t cipherR = GetWord(block + 4);
        std::uint32_t xL = cipherL;
        std::uint32_t xR = cipherR;
        decryptBlock(xL, xR);
        PutWord(xL ^ chainL, block);
        PutWord(xR ^ chainR, block + 4);
        chainL = cipherL;
        chainR = cipherR;
        if (offset >= nextReport) [[unlikely]]
            nextReport = reportProgress(offset, length);
    }
}

void clsBlowfish::EncryptByte(std::string& buffer, std::string_view key)
{
    if (!key.empty())
        Key(key);
    const std::size_t n = buffer.size();
    std::string envelope(EnvelopeLength(n), '\0');
    std::array<unsigned char, 8> random{};
    FillSecureRandom(random);
    // R1 and R2 lie in 0..2 147 483 647: clear the top bit of each little-endian word.
    random[3] &= 0x7F;
    random[7] &= 0x7F;
    std::copy(random.begin(), random.end(), envelope.begin());
    PutLittleEndian(static_cast<std::uint32_t>(n), envelope.data() + 8);
    std::copy(buffer.begin(), buffer.end(), envelope.begin() + kEnvelopeHeader);
    lastPercent_ = -1;
    EncryptBlocks(envelope);
    reportDone();
    buffer = std::move(envelope);
}

tl::expected<void, CipherError> clsBlowfish::DecryptByte(std::string& buffer, std::string_view key)
{
    if (!key.empty())
        Key(key);
    const std::size_t length = buffer.size();
    if (length < 2 * kBlockSize || length % kBlockSize != 0)
        return tl::unexpected(BlowfishSizeError());
    lastPercent_ = -1;
    DecryptBlocks(buffer);
    const std::size_t n = GetLittleEndian(buffer.data() + 8);
    // The padding is 0..7 bytes; an empty plaintext is never stored.
    if (n == 0 || n > length - kEnvelopeHeader || length - kEnvelopeHeader - n >= kBlockSize)
        return tl::unexpected(BlowfishSizeError());
    buffer.erase(0, kEnvelopeHeader);
    buffer.resize(n);
    reportDone();
    return {};
}

std::string clsBlowfish::EncryptString(std::string_view text, std::string_view key)
{
    std::string buffer(text);
    EncryptByte(buffer, key);
    return buffer;
}

tl::expected<std::string, CipherError> clsBlowfish::DecryptString(std::string_view text, std::string_view key)
{
    std::string buffer(text);
    return DecryptByte(buffer, key).map([&buffer] { return std::move(buffer); });
}

} // namespace kv
