#include "storage/blowfish.h"
#include "storage/hex_text.h"

#include <gtest/gtest.h>

#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/blowfish.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace kv::test {
namespace {

std::string Bytes(std::string_view hex)
{
    return HexDecode(hex, 0).value();
}

std::string Hex(std::string_view bytes)
{
    return HexEncode(bytes, "");
}

std::uint32_t LittleEndianAt(const std::string& buffer, std::size_t offset)
{
    std::uint32_t value = 0;
    std::memcpy(&value, buffer.data() + offset, 4); // the test machines are little-endian
    return value;
}

// The published Blowfish test set: key, plaintext, ciphertext, one ECB block each.
struct Vector {
    const char* key;
    const char* plaintext;
    const char* ciphertext;
};
constexpr Vector kPublishedVectors[] = {{"0000000000000000", "0000000000000000", "4EF997456198DD78"},
                                        {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
                                        {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
                                        {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
                                        {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
                                        {"1111111111111111", "0123456789ABCDEF", "7D0CC630AFDA1EC7"},
                                        {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
                                        {"7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B"},
                                        {"0131D9619DC1376E", "5CD54CA83DEF57DA", "B1B8CC0B250F09A0"},
                                        {"07A1133E4A0B2686", "0248D43806F67172", "1730E5778BEA1DA4"},
                                        {"3849674C2602319E", "51454B582DDF440A", "A25E7856CF2651EB"},
                                        {"04B915BA43FEB5B6", "42FD443059577FA2", "353882B109CE8F1A"},
                                        {"0113B970FD34F2CE", "059B5E0851CF143A", "48F4D0884C379918"},
                                        {"0170F175468FB5E6", "0756D8E0774761D2", "432193B78951FC98"},
                                        {"43297FAD38E373FE", "762514B829BF486A", "13F04154D69D1AE5"},
                                        {"07A7137045DA2A16", "3BDD119049372802", "2EEDDA93FFD39C79"},
                                        {"04689104C2FD3B2F", "26955F6835AF609A", "D887E0393C2DA6E3"},
                                        {"37D06BB516CB7546", "164D5E404F275232", "5F99D04F5B163969"},
                                        {"1F08260D1AC2465E", "6B056E18759F5CCA", "4A057A3B24D3977B"},
                                        {"584023641ABA6176", "004BD6EF09176062", "452031C1E4FADA8E"},
                                        {"025816164629B007", "480D39006EE762F2", "7555AE39F59B87BD"},
                                        {"49793EBC79B3258F", "437540C8698F3CFA", "53C55F9CB49FC019"},
                                        {"4FB05E1515AB73A7", "072D43A077075292", "7A8E7BFA937E89A3"},
                                        {"49E95D6D4CA229BF", "02FE55778117F12A", "CF9C5D7A4986ADB5"},
                                        {"018310DC409B26D6", "1D9D5C5018F728C2", "D1ABB290658BC778"},
                                        {"1C587F1C13924FEF", "305532286D6F295A", "55CB3774D13EF201"},
                                        {"0101010101010101", "0123456789ABCDEF", "FA34EC4847B268B2"},
                                        {"1F1F1F1F0E0E0E0E", "0123456789ABCDEF", "A790795108EA3CAE"},
                                        {"E0FEE0FEF1FEF1FE", "0123456789ABCDEF", "C39E072D9FAC631D"},
                                        {"0000000000000000", "FFFFFFFFFFFFFFFF", "014933E0CDAFF6E4"},
                                        {"FFFFFFFFFFFFFFFF", "0000000000000000", "F21E9A77B71C49BC"},
                                        {"0123456789ABCDEF", "0000000000000000", "245946885754369A"},
                                        {"FEDCBA9876543210", "FFFFFFFFFFFFFFFF", "6B5C5A9C5D9E0A5A"}};

TEST(Blowfish, PublishedVectorsEncryptAndDecryptOneBlock)
{
    for (const Vector& v : kPublishedVectors) {
        SCOPED_TRACE(v.key);
        clsBlowfish cipher;
        cipher.Key(Bytes(v.key));
        std::string block = Bytes(v.plaintext);
        cipher.EncryptBlocks(block);
        EXPECT_EQ(Hex(block), v.ciphertext);
        cipher.DecryptBlocks(block);
        EXPECT_EQ(Hex(block), v.plaintext);
    }
}

// Random keys of 1..80 bytes (past the 72 that count) and random buffers, checked
// against OpenSSL's own Blowfish in CBC mode with a zero IV.
TEST(Blowfish, CbcMatchesOpenSslForRandomKeysAndBuffers)
{
    std::mt19937 random(20261206);
    auto randomBytes = [&random](std::size_t count) {
        std::string bytes(count, '\0');
        for (char& c : bytes)
            c = static_cast<char>(random() & 0xFF);
        return bytes;
    };
    for (int round = 0; round < 400; ++round) {
        const std::string key = randomBytes(1 + random() % 80);
        const std::string plain = randomBytes(8 * (1 + random() % 64));
        SCOPED_TRACE(Hex(key));

        BF_KEY schedule;
        BF_set_key(&schedule, static_cast<int>(key.size()),
                   reinterpret_cast<const unsigned char*>(key.data()));
        unsigned char iv[8] = {};
        std::string expected(plain.size(), '\0');
        BF_cbc_encrypt(reinterpret_cast<const unsigned char*>(plain.data()),
                       reinterpret_cast<unsigned char*>(expected.data()), static_cast<long>(plain.size()),
                       &schedule, iv, BF_ENCRYPT);

        clsBlowfish cipher;
        cipher.Key(key);
        std::string buffer = plain;
        cipher.EncryptBlocks(buffer);
        ASSERT_EQ(Hex(buffer), Hex(expected));
        cipher.DecryptBlocks(buffer);
        ASSERT_EQ(buffer, plain);
    }
}

// OpenSSL decrypts our envelope: R1, R2 below 2^31, n, the plaintext, zero padding.
TEST(Blowfish, EnvelopeLayoutSeenThroughOpenSsl)
{
    const std::string key = "a key for the envelope";
    BF_KEY schedule;
    BF_set_key(&schedule, static_cast<int>(key.size()), reinterpret_cast<const unsigned char*>(key.data()));
    for (std::size_t n = 1; n <= 40; ++n) {
        const std::string plain(n, static_cast<char>('a' + n % 26));
        std::string buffer = plain;
        clsBlowfish().EncryptByte(buffer, key);

        std::string envelope(buffer.size(), '\0');
        unsigned char iv[8] = {};
        BF_cbc_encrypt(reinterpret_cast<const unsigned char*>(buffer.data()),
                       reinterpret_cast<unsigned char*>(envelope.data()), static_cast<long>(buffer.size()),
                       &schedule, iv, BF_DECRYPT);
        EXPECT_LE(LittleEndianAt(envelope, 0), 2147483647u);
        EXPECT_LE(LittleEndianAt(envelope, 4), 2147483647u);
        EXPECT_EQ(LittleEndianAt(envelope, 8), n);
        EXPECT_EQ(envelope.substr(12, n), plain);
        EXPECT_EQ(envelope.substr(12 + n), std::string(envelope.size() - 12 - n, '\0'));
    }
}

TEST(Blowfish, EnvelopeSizes)
{
    for (auto [n, expected] : {std::pair{1, 16}, {4, 16}, {5, 24}, {12, 24}, {13, 32}, {20, 32}, {21, 40}}) {
        std::string buffer(static_cast<std::size_t>(n), 'x');
        clsBlowfish().EncryptByte(buffer, "key");
        EXPECT_EQ(buffer.size(), static_cast<std::size_t>(expected)) << "n = " << n;
    }
}

TEST(Blowfish, SameTextTwiceGivesDifferentCiphertextsThatBothDecrypt)
{
    clsBlowfish cipher;
    const std::string first = cipher.EncryptString("hunter2", "key");
    const std::string second = cipher.EncryptString("hunter2", "key");
    EXPECT_NE(first, second);
    EXPECT_EQ(first.size(), second.size());
    EXPECT_EQ(cipher.DecryptString(first, "key").value(), "hunter2");
    EXPECT_EQ(clsBlowfish().DecryptString(second, "key").value(), "hunter2");
}

TEST(Blowfish, BytesRoundTripUnchanged)
{
    std::string every(256, '\0');
    for (int i = 0; i < 256; ++i)
        every[static_cast<std::size_t>(i)] = static_cast<char>(i);
    for (const std::string& text : {every, std::string("Grüße, 日本"), std::string(1, '\0')}) {
        const std::string ciphertext = clsBlowfish().EncryptString(text, "key");
        EXPECT_EQ(clsBlowfish().DecryptString(ciphertext, "key").value(), text);
    }
}

TEST(Blowfish, WrongKeyFailsWithTheSizeError)
{
    const std::string ciphertext = clsBlowfish().EncryptString("my password", "right key");
    const auto result = clsBlowfish().DecryptString(ciphertext, "wrong key");
    ASSERT_FALSE(result.has_value());
    EXPECT_EQ(result.error().number, -2147221504);
    EXPECT_EQ(result.error().description, "Incorrect size descriptor in Blowfish decryption");
}

TEST(Blowfish, OnlyTheFirst72KeyBytesCount)
{
    const std::string shared(72, 'K');
    clsBlowfish a;
    clsBlowfish b;
    a.Key(shared + "tail one");
    b.Key(shared + "another tail");
    std::string blocksA(64, 'p');
    std::string blocksB = blocksA;
    a.EncryptBlocks(blocksA);
    b.EncryptBlocks(blocksB);
    EXPECT_EQ(blocksA, blocksB);

    const std::string ciphertext = clsBlowfish().EncryptString("value", shared + "1");
    EXPECT_EQ(clsBlowfish().DecryptString(ciphertext, shared + "2").value(), "value");

    clsBlowfish c;
    c.Key(std::string(71, 'K') + "X");
    std::string blocksC(64, 'p');
    c.EncryptBlocks(blocksC);
    EXPECT_NE(blocksC, blocksA);
}

// A second key on a used object gives what a fresh object gives.
TEST(Blowfish, RekeyingAUsedObjectEqualsAFreshOne)
{
    clsBlowfish used;
    used.Key("first key");
    used.Key("second key");
    used.Key("second key");
    clsBlowfish fresh;
    fresh.Key("second key");
    std::string a(32, 'z');
    std::string b = a;
    used.EncryptBlocks(a);
    fresh.EncryptBlocks(b);
    EXPECT_EQ(a, b);
}

std::string EnvelopeWithSize(std::size_t length, std::uint32_t n, const std::string& key)
{
    std::string buffer(length, '\0');
    std::memcpy(buffer.data() + 8, &n, 4);
    clsBlowfish cipher;
    cipher.Key(key);
    cipher.EncryptBlocks(buffer);
    return buffer;
}

TEST(Blowfish, MalformedCiphertextIsRefusedWithTheSizeError)
{
    const std::string valid = clsBlowfish().EncryptString("abcde", "key"); // 24 bytes
    std::vector<std::string> malformed = {
        "",
        valid.substr(0, 8),             // too short for a size descriptor
        valid.substr(0, 23),            // not whole blocks
        valid + "x",                    // not whole blocks
        valid.substr(0, 16),            // truncated: n = 5 no longer fits
        valid + std::string(8, '\0'),   // padded: 15 bytes of padding
        EnvelopeWithSize(16, 0, "key"), // n = 0
        EnvelopeWithSize(16, 5, "key"), // n larger than the room
        EnvelopeWithSize(24, 4, "key"), // a whole block of padding
        EnvelopeWithSize(16, 0xFFFFFFFF, "key"),
    };
    for (std::size_t i = 0; i < malformed.size(); ++i) {
        const auto result = clsBlowfish().DecryptString(malformed[i], "key");
        ASSERT_FALSE(result.has_value()) << "case " << i;
        EXPECT_EQ(result.error().description, "Incorrect size descriptor in Blowfish decryption");
    }
    EXPECT_EQ(clsBlowfish().DecryptString(EnvelopeWithSize(16, 4, "key"), "key").value(),
              std::string(4, '\0'));
}

TEST(Blowfish, ProgressRisesFromZeroToOneHundred)
{
    std::vector<std::int32_t> reported;
    clsBlowfish cipher;
    cipher.setProgressHandler([&reported](std::int32_t percent) { reported.push_back(percent); });

    std::string buffer(64 * 1024, 'q');
    cipher.EncryptByte(buffer, "key");
    ASSERT_GE(reported.size(), 2u);
    EXPECT_EQ(reported.front(), 0);
    EXPECT_EQ(reported.back(), 100);
    EXPECT_TRUE(std::is_sorted(reported.begin(), reported.end()));
    EXPECT_EQ(std::adjacent_find(reported.begin(), reported.end()), reported.end());

    reported.clear();
    ASSERT_TRUE(cipher.DecryptByte(buffer));
    EXPECT_EQ(reported.front(), 0);
    EXPECT_EQ(reported.back(), 100);
    EXPECT_GE(reported.size(), 50u);

    reported.clear();
    std::string small = "x";
    cipher.EncryptByte(small);
    EXPECT_EQ(reported, (std::vector<std::int32_t>{0, 50, 100}));
}

} // namespace
} // namespace kv::test
