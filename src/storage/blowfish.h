#pragma once
// The one cipher of the system: Blowfish (64-bit blocks, 16 rounds, the published
// key schedule) in CBC mode with an all-zero IV, over an envelope of the program's
// own: R1, R2, n (three 32-bit little-endian words), the n plaintext bytes, zero
// padding to a multiple of 8. Words inside blocks are big-endian.
//
// Text and bytes: a value's bytes go into the cipher exactly as they stand in the
// std::string (UTF-8 text as is, post data as raw bytes), and decryption gives the
// same bytes back; key characters are key bytes the same way.
#include "storage/blowfish_initial_state.h"
#include "storage/cipher_error.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <tl/expected.hpp>

namespace kv {

class clsBlowfish {
public:
    // Percent 0..100 of the running EncryptByte / DecryptByte; every call ends with 100.
    using ProgressHandler = std::function<void(std::int32_t percent)>;

    clsBlowfish();

    // Runs the key schedule; only the first 72 key bytes take part, longer keys are
    // accepted because the stored key material is longer. Setting the key already
    // held does nothing.
    void Key(std::string_view newValue);

    void setProgressHandler(ProgressHandler handler);

    // Wraps the n bytes of buffer in the envelope and encrypts it in place; the
    // buffer grows to n + 12 rounded up to a multiple of 8. A non-empty key is set first.
    void EncryptByte(std::string& buffer, std::string_view key = {});
    // Decrypts in place, checks the envelope and shrinks the buffer to the plaintext.
    // A length that is not a positive multiple of 8, or an implausible or zero size
    // descriptor, gives the size error (the buffer is then left decrypted, untrimmed).
    tl::expected<void, CipherError> DecryptByte(std::string& buffer, std::string_view key = {});

    std::string EncryptString(std::string_view text, std::string_view key = {});
    tl::expected<std::string, CipherError> DecryptString(std::string_view text, std::string_view key = {});

    // The CBC core without the envelope, over the whole 8-byte blocks of the buffer.
    // One block through it is plain ECB.
    void EncryptBlocks(std::span<char> blocks);
    void DecryptBlocks(std::span<char> blocks);

private:
    std::uint32_t F(std::uint32_t x) const;
    void encryptBlock(std::uint32_t& xL, std::uint32_t& xR) const;
    void decryptBlock(std::uint32_t& xL, std::uint32_t& xR) const;
    // Reports the percentage reached at offset and returns the offset of the next report.
    std::size_t reportProgress(std::size_t offset, std::size_t length);
    void reportDone();

    BlowfishState tables_;
    std::string key_;
    ProgressHandler progress_;
    std::int32_t lastPercent_ = -1;
};

} // namespace kv
