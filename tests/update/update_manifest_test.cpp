// The manifest reader: what a trustworthy manifest holds, and every way one can be broken.
#include "update/update_manifest.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

constexpr const char* kProgram = "kestrelyn-vormaplex";
const std::string kDigestA(64, 'a');
const std::string kDigestB = std::string(32, '0') + std::string(32, 'F');

std::string Manifest(const std::string& updateLines, const std::string& digestLines)
{
    return "[Update]\n" + updateLines + "[SHA256]\n" + digestLines;
}

std::string Valid()
{
    return Manifest("Version=2.1.0\nSource=https://updates.example/files/\nFileCount=2\nFile1=helper.so\n"
                    "File2=readme.txt\nNews=http://news.example/2.1\n",
                    std::string(kProgram) + "=" + kDigestA + "\nhelper.so=" + kDigestB +
                        "\nREADME.TXT=" + kDigestA + "\n");
}

TEST(UpdateManifest, ReadsEveryPartOfAValidManifest)
{
    const auto manifest = ReadUpdateManifest(Valid(), kProgram);

    ASSERT_TRUE(manifest);
    EXPECT_EQ(manifest->version, "2.1.0");
    EXPECT_EQ(manifest->source, "https://updates.example/files/");
    EXPECT_EQ(manifest->news, "http://news.example/2.1");
    EXPECT_EQ(manifest->executableDigest, *Sha256FromHex(kDigestA));
    ASSERT_EQ(manifest->helpers.size(), 2u);
    EXPECT_EQ(manifest->helpers[0].name, "helper.so");
    EXPECT_EQ(manifest->helpers[0].digest, *Sha256FromHex(kDigestB));
    EXPECT_EQ(manifest->helpers[1].name, "readme.txt"); // digest keys match without case, like every INI key
}

TEST(UpdateManifest, FileCountAbsentEmptyOrBelowOneMeansNoHelpers)
{
    for (const char* count : {"", "FileCount=\n", "FileCount=0\n", "FileCount=-3\n", "FileCount=none\n"}) {
        SCOPED_TRACE(count);
        const auto manifest = ReadUpdateManifest(
            Manifest(std::string("Version=3\nSource=http://u.example/\n") + count + "File1=ignored\n",
                     std::string(kProgram) + "=" + kDigestA + "\n"),
            kProgram);
        ASSERT_TRUE(manifest);
        EXPECT_TRUE(manifest->helpers.empty());
        EXPECT_TRUE(manifest->news.empty());
    }
}

TEST(UpdateManifest, RefusesBrokenManifests)
{
    const std::string program = std::string(kProgram) + "=" + kDigestA + "\n";
    const std::string head = "Version=2.1\nSource=http://u.example/\n";
    const struct {
        const char* what;
        std::string text;
        ManifestError error;
    } cases[] = {
        {"not INI at all",
         "\x7f"
         "ELF\x02\x01 binary junk",
         ManifestError::BadVersion},
        {"no version", Manifest("Source=http://u.example/\n", program), ManifestError::BadVersion},
        {"a version with letters", Manifest("Version=2.1b\nSource=http://u.example/\n", program),
         ManifestError::BadVersion},
        {"only dots", Manifest("Version=..\nSource=http://u.example/\n", program), ManifestError::BadVersion},
        {"no source", Manifest("Version=2.1\n", program), ManifestError::BadSource},
        {"a file source", Manifest("Version=2.1\nSource=file:///tmp/\n", program), ManifestError::BadSource},
        {"a bare scheme", Manifest("Version=2.1\nSource=https://\n", program), ManifestError::BadSource},
        {"news elsewhere", Manifest(head + "News=javascript:alert(1)\n", program), ManifestError::BadNews},
        {"no digest of the program", Manifest(head, "other=" + kDigestA + "\n"),
         ManifestError::MissingDigest},
        {"a short digest", Manifest(head, std::string(kProgram) + "=abc\n"), ManifestError::MissingDigest},
        {"a huge count", Manifest(head + "FileCount=1000000000\n", program), ManifestError::TooManyFiles},
        {"a count beyond the cap", Manifest(head + "FileCount=65\n", program), ManifestError::TooManyFiles},
        {"a count without its names",
         Manifest(head + "FileCount=2\nFile1=a\n", program + "a=" + kDigestA + "\n"),
         ManifestError::BadFileName},
        {"a helper without digest", Manifest(head + "FileCount=1\nFile1=a\n", program),
         ManifestError::MissingDigest},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto manifest = ReadUpdateManifest(c.text, kProgram);
        ASSERT_FALSE(manifest);
        EXPECT_EQ(manifest.error(), c.error);
    }
}

TEST(UpdateManifest, HelperNamesStayPlainFilesInTheProgramFolder)
{
    for (const char* name :
         {"../evil", "/etc/passwd", "sub/file", "..", ".hidden", "a\\b", "with space", "kestrelyn-vormaplex",
          "KESTRELYN-VORMAPLEX", "manifest.ini", "manifest.ini.sig", "lib.so.new", "old.backup", "x\x01y"}) {
        SCOPED_TRACE(name);
        const std::string text =
            Manifest(std::string("Version=2.1\nSource=http://u.example/\nFileCount=1\nFile1=") + name + "\n",
                     std::string(kProgram) + "=" + kDigestA + "\n" + name + "=" + kDigestA + "\n");
        const auto manifest = ReadUpdateManifest(text, kProgram);
        ASSERT_FALSE(manifest);
        EXPECT_EQ(manifest.error(), ManifestError::BadFileName);
    }
    const std::string repeated =
        Manifest("Version=2.1\nSource=http://u.example/\nFileCount=2\nFile1=a.so\nFile2=A.SO\n",
                 std::string(kProgram) + "=" + kDigestA + "\na.so=" + kDigestA + "\n");
    EXPECT_EQ(ReadUpdateManifest(repeated, kProgram).error(), ManifestError::BadFileName);
}

} // namespace
} // namespace kv
