#include "storage/secure_store.h"

#include "common/temp_dir.h"
#include "storage/hex_text.h"
#include "storage/ini_values.h"
#include "storage/key_material.h"
#include "storage/site_file.h"
#include "storage_test_files.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

class SecureStore : public ::testing::Test {
protected:
    SecureStore()
    {
        const std::string serial = VolumeSerialPart(0x1234ABCD);
        SetCipherKeys({MachineKey(serial), ValueKey(serial, "ABCDEFGHIJKLMNOPQRSTUVWXY")});
    }
    ~SecureStore() override { SetCipherKeys({}); }

    TempDir dir;
    std::filesystem::path site = dir / "Example.QVR";
};

TEST_F(SecureStore, WriteThenReadGivesTheValueBack)
{
    WriteSecureValue(kMainSection, FORMPASSVALUE, "s3cr=t pässword", site);
    EXPECT_EQ(ReadSecureValue(kMainSection, FORMPASSVALUE, site).value(), "s3cr=t pässword");
    EXPECT_EQ(ReadSecureValue("main", "formpassvalue", site).value(), "s3cr=t pässword");
    EXPECT_EQ(FileText(site).find("s3cr"), std::string::npos);
}

TEST_F(SecureStore, AbsentValuesReadEmpty)
{
    EXPECT_EQ(ReadSecureValue(kMainSection, VELOTRIP, site).value(), "");
    WriteSecureValue(kMainSection, SITEURL, "https://a.example/", site);
    EXPECT_EQ(ReadSecureValue(kMainSection, VELOTRIP, site).value(), "");
}

TEST_F(SecureStore, StoredTextIsSpacedUppercaseHexOfTheEnvelope)
{
    for (auto [value, characters] : {std::pair{"1", 47}, {"abcd", 47}, {"abcde", 71}, {"twelve chars", 71}}) {
        WriteSecureValue("S", "K", value, site);
        const std::string text = ReadIniValue("S", "K", site);
        EXPECT_EQ(text.size(), static_cast<std::size_t>(characters)) << value;
        EXPECT_EQ(text.find_first_not_of("0123456789ABCDEF "), std::string::npos);
        for (std::size_t i = 2; i < text.size(); i += 3)
            EXPECT_EQ(text[i], ' ');
    }
}

TEST_F(SecureStore, SameValueTwiceStoresDifferentTextsThatBothRead)
{
    WriteSecureValue("S", "K", "same", site);
    const std::string first = ReadIniValue("S", "K", site);
    WriteSecureValue("S", "K", "same", site);
    const std::string second = ReadIniValue("S", "K", site);
    EXPECT_NE(first, second);
    EXPECT_EQ(DecryptValue(first, CurrentCipherKeys().valueKey).value(), "same");
    EXPECT_EQ(DecryptValue(second, CurrentCipherKeys().valueKey).value(), "same");
}

TEST_F(SecureStore, EmptyValueWritesNothing)
{
    WriteSecureValue("S", "K", "", site);
    EXPECT_FALSE(std::filesystem::exists(site));
    WriteSecureValue("S", "K", "kept", site);
    WriteSecureValue("S", "K", "", site);
    EXPECT_EQ(ReadSecureValue("S", "K", site).value(), "kept");
}

TEST_F(SecureStore, ExplicitKeysGoThroughEncryptValueAndHexEncode)
{
    const std::string machineKey = CurrentCipherKeys().machineKey;
    WriteIniValue("Security", "ENCRYPTION KEY", HexEncode(EncryptValue("profile key", machineKey), " "),
                  site);
    const std::string stored = ReadIniValue("Security", "ENCRYPTION KEY", site);
    EXPECT_EQ(DecryptValue(stored, machineKey).value(), "profile key");
    EXPECT_FALSE(DecryptValue(stored, CurrentCipherKeys().valueKey).has_value());
}

TEST_F(SecureStore, OtherKeyMaterialCannotReadTheValue)
{
    WriteSecureValue(kMainSection, FORMLOGINVALUE, "alice", site);
    const std::string otherSerial = VolumeSerialPart(0x0BADF00D);
    SetCipherKeys({MachineKey(otherSerial), ValueKey(otherSerial, "ABCDEFGHIJKLMNOPQRSTUVWXY")});
    const auto result = ReadSecureValue(kMainSection, FORMLOGINVALUE, site);
    ASSERT_FALSE(result.has_value());
    EXPECT_EQ(result.error().number, -2147221504);
    EXPECT_EQ(result.error().description, "Incorrect size descriptor in Blowfish decryption");
}

TEST_F(SecureStore, DamagedStoredTextIsAnErrorNotAValue)
{
    WriteSecureValue("S", "K", "value", site);
    const std::string good = ReadIniValue("S", "K", site);
    const std::string key = CurrentCipherKeys().valueKey;
    std::string lower = good;
    lower[0] = 'a';
    for (const std::string& damaged : {lower, good.substr(0, good.size() - 3), good + " 00", good.substr(1),
                                       std::string("4A"), std::string("garbage")}) {
        EXPECT_FALSE(DecryptValue(damaged, key).has_value()) << damaged;
        WriteIniValue("S", "K", damaged, site);
        EXPECT_FALSE(ReadSecureValue("S", "K", site).has_value()) << damaged;
    }
}

// The longest value that survives a write and a plain read of 19 999 characters.
TEST_F(SecureStore, ValuesUpTo6652BytesSurviveTheReadLimit)
{
    WriteSecureValue("S", "K", std::string(6652, 'x'), site);
    EXPECT_EQ(ReadSecureValue("S", "K", site).value(), std::string(6652, 'x'));
    WriteSecureValue("S", "K", std::string(6653, 'x'), site);
    EXPECT_FALSE(ReadSecureValue("S", "K", site).has_value());
}

TEST_F(SecureStore, IncrementSuccessCount)
{
    IncrementSuccessCount(site);
    EXPECT_EQ(ReadSecureValue(kStatsSection, SUCCESS, site).value(), "1");
    WriteSecureValue(kStatsSection, SUCCESS, "9", site);
    IncrementSuccessCount(site);
    EXPECT_EQ(ReadSecureValue(kStatsSection, SUCCESS, site).value(), "10");
}

TEST_F(SecureStore, IncrementSuccessCountLeavesADamagedCountAlone)
{
    WriteSecureValue(kStatsSection, SUCCESS, "seven", site);
    IncrementSuccessCount(site);
    EXPECT_EQ(ReadSecureValue(kStatsSection, SUCCESS, site).value(), "seven");

    WriteIniValue(kStatsSection, SUCCESS, "NOT HEX", site);
    IncrementSuccessCount(site);
    EXPECT_EQ(ReadIniValue(kStatsSection, SUCCESS, site), "NOT HEX");
}

} // namespace
} // namespace kv::test
