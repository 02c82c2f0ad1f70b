// Signatures made by scripts/sign-update, checked with OpenSSL, and file digests.
#include "common/temp_dir.h"
#include "common/update_signing.h"
#include "storage/storage_test_files.h"
#include "update/update_integrity.h"

#include <gtest/gtest.h>

#include <fstream>

namespace kv {
namespace {

using test::TempDir;

class SignedManifest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::WriteFileText(folder / "kestrelyn-vormaplex", "new program");
        test::WriteFileText(folder / "manifest.ini", "[Update]\nVersion=2.1\nSource=http://u.example/\n");
        test::SignManifest(folder / "manifest.ini", {folder / "kestrelyn-vormaplex"});
        manifest = test::FileText(folder / "manifest.ini");
        signature = test::FileText(folder / "manifest.ini.sig");
    }

    TempDir folder;
    std::string manifest;
    std::string signature;
};

TEST_F(SignedManifest, TheSigningToolWritesTheDigestsAndAMatchingSignature)
{
    EXPECT_NE(manifest.find("[SHA256]\nkestrelyn-vormaplex="), std::string::npos);
    EXPECT_EQ(signature.size(), 64u);
    EXPECT_TRUE(SignatureMatches(manifest, signature, test::TestUpdateKey()));
}

TEST_F(SignedManifest, AnyChangeOrAnotherKeyBreaksTheSignature)
{
    const UpdatePublicKey key = test::TestUpdateKey();
    for (std::size_t at : {std::size_t{0}, manifest.size() / 2, manifest.size() - 1}) {
        std::string changed = manifest;
        changed[at] ^= 1;
        EXPECT_FALSE(SignatureMatches(changed, signature, key)) << "manifest byte " << at;
    }
    std::string changedSignature = signature;
    changedSignature[10] ^= 0x80;
    EXPECT_FALSE(SignatureMatches(manifest, changedSignature, key));
    EXPECT_FALSE(SignatureMatches(manifest, signature.substr(0, 63), key));
    EXPECT_FALSE(SignatureMatches(manifest, signature + "x", key));
    EXPECT_FALSE(SignatureMatches(manifest + "\n", signature, key));

    test::SignManifest(folder / "manifest.ini", {folder / "kestrelyn-vormaplex"},
                       test::MakeUntrustedKey(folder.path()));
    EXPECT_FALSE(SignatureMatches(test::FileText(folder / "manifest.ini"),
                                  test::FileText(folder / "manifest.ini.sig"), key));
}

TEST_F(SignedManifest, SigningAgainReplacesTheDigestSection)
{
    test::WriteFileText(folder / "kestrelyn-vormaplex", "newer program");
    test::SignManifest(folder / "manifest.ini", {folder / "kestrelyn-vormaplex"});
    const std::string again = test::FileText(folder / "manifest.ini");

    EXPECT_EQ(again.find("[SHA256]"), again.rfind("[SHA256]")) << again;
    EXPECT_NE(again, manifest);
    EXPECT_TRUE(SignatureMatches(again, test::FileText(folder / "manifest.ini.sig"), test::TestUpdateKey()));
}

TEST(Sha256, DigestsFilesAndReadsHex)
{
    TempDir folder;
    test::WriteFileText(folder / "abc", "abc");
    test::WriteFileText(folder / "empty", "");
    EXPECT_EQ(Sha256OfFile(folder / "abc"),
              Sha256FromHex("BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD"));
    EXPECT_EQ(Sha256OfFile(folder / "empty"),
              Sha256FromHex("e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"));
    EXPECT_FALSE(Sha256OfFile(folder / "missing"));
    EXPECT_FALSE(Sha256OfFile(folder.path())) << "a folder has no digest";

    EXPECT_FALSE(Sha256FromHex(std::string(63, 'a')));
    EXPECT_FALSE(Sha256FromHex(std::string(65, 'a')));
    EXPECT_FALSE(Sha256FromHex(std::string(63, 'a') + "g"));
    EXPECT_FALSE(UpdatePublicKeyFromHex(""));
}

} // namespace
} // namespace kv
