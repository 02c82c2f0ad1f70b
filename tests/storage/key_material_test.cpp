#include "storage/key_material.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

TEST(KeyMaterial, VolumeSerialPartDropsTheFirstCharacterOfTheSignedNumber)
{
    EXPECT_EQ(VolumeSerialPart(0x12345678), "05419896"); // 305419896
    EXPECT_EQ(VolumeSerialPart(0xFFFFFFFF), "1");        // -1
    EXPECT_EQ(VolumeSerialPart(0x80000000), "2147483648");
    EXPECT_EQ(VolumeSerialPart(7), "");
}

TEST(KeyMaterial, ProgramKeyConstantIs98UppercaseHexDigits)
{
    const std::string constant = ProgramKeyConstant();
    EXPECT_EQ(constant.size(), 98u);
    EXPECT_EQ(constant.find_first_not_of("0123456789ABCDEF"), std::string::npos);
}

TEST(KeyMaterial, KeysAreBuiltFromTheirParts)
{
    EXPECT_EQ(MachineKey("123"), "123" + ProgramKeyConstant());
    EXPECT_EQ(ValueKey("123", "PROFILEKEY"), "123PROFILEKEY" + ProgramKeyConstant());
}

} // namespace
} // namespace kv::test
