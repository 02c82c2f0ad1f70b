#include "registry_fixture.h"
#include "storage/storage_test_files.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>

namespace kv::test {
namespace {

constexpr const char* kKey = "HKCU\\Software\\Kestrelyn Vormaplex";

// Runs check in a child process and hands back what it reports ("" when all went well).
std::string InChildProcess(const std::function<std::string()>& check)
{
    int report[2];
    if (pipe(report) != 0)
        return "no pipe";
    const pid_t child = fork();
    if (child == 0) {
        close(report[0]);
        const std::string result = check();
        const ssize_t ignored = write(report[1], result.data(), result.size());
        static_cast<void>(ignored);
        _exit(0);
    }
    close(report[1]);
    std::string result;
    char buffer[256];
    for (ssize_t n; (n = read(report[0], buffer, sizeof buffer)) > 0;)
        result.append(buffer, static_cast<std::size_t>(n));
    close(report[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        result += " (child did not exit cleanly)";
    return result;
}

TEST(SqliteRegistryBackend, TwoProcessesWritingOneHiveLoseNothing)
{
    TempDir dir;
    constexpr int kValuesPerWriter = 150;
    int start[2];
    ASSERT_EQ(pipe(start), 0);
    std::vector<pid_t> writers;
    for (const char* writer : {"first", "second"}) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(start[1]);
            char go;
            // Both wait here until the parent closes the pipe, then write at once.
            const ssize_t ignored = read(start[0], &go, 1);
            static_cast<void>(ignored);
            SqliteRegistryBackend backend(dir.path());
            clsRegAccess reg(backend);
            int failures = 0;
            for (int i = 0; i < kValuesPerWriter; ++i)
                failures += reg.WriteString(kKey, std::string(writer) + std::to_string(i), writer) == 0;
            _exit(failures == 0 ? 0 : 1);
        }
        writers.push_back(child);
    }
    close(start[0]);
    close(start[1]);
    for (pid_t writer : writers) {
        int status = 0;
        ASSERT_EQ(waitpid(writer, &status, 0), writer);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a writer saw a failed write";
    }

    SqliteRegistryBackend backend(dir.path());
    clsRegAccess reg(backend);
    std::vector<std::string> names;
    std::vector<RegValue> values;
    EXPECT_EQ(reg.EnumValues(kKey, names, values, -1), 2 * kValuesPerWriter);
    EXPECT_EQ(reg.ReadString(kKey, "first149", ""), "first");
    EXPECT_EQ(reg.ReadString(kKey, "second0", ""), "second");
}

TEST(SqliteRegistryBackend, UnwritableHiveStillReadsButRefusesWriteOpens)
{
    TempDir dir;
    {
        SqliteRegistryBackend backend(dir.path());
        clsRegAccess(backend).WriteString(kKey, "kept", "yes");
    }
    // Root writes any file, so the check runs as an unprivileged user there.
    const bool asRoot = geteuid() == 0;
    ASSERT_EQ(chmod((dir / "HKEY_CURRENT_USER.sqlite").c_str(), 0444), 0);
    ASSERT_EQ(chmod(dir.path().c_str(), asRoot ? 0755 : 0555), 0);

    const std::string problems = InChildProcess([&]() -> std::string {
        if (asRoot && (setgid(65534) != 0 || setuid(65534) != 0))
            return "cannot become an unprivileged user";
        SqliteRegistryBackend backend(dir.path());
        clsRegAccess reg(backend);
        std::string found;
        if (reg.ReadString(kKey, "kept", "") != "yes")
            found += "read failed; ";
        if (reg.KeyExists(kKey))
            found += "full-access open succeeded; ";
        RegKey key = 0;
        if (backend.OpenKeyEx(kHKeyCurrentUser, "Software", kKeyWrite, key) != kRegAccessDenied)
            found += "write open not refused; ";
        if (backend.OpenKeyEx(kHKeyCurrentUser, "Software", kKeyRead, key) != kRegSuccess)
            found += "read open failed; ";
        else if (backend.SetValue(key, "x", kRegSz, std::string("s\0", 2)) != kRegAccessDenied)
            found += "set on a read handle not refused; ";
        if (reg.WriteString(kKey, "new", "no") != 0 || reg.CreateKey("HKCU\\Other") != 0)
            found += "write reported success; ";
        return found;
    });
    chmod(dir.path().c_str(), 0700);
    EXPECT_EQ(problems, "");
}

mode_t ModeOf(const std::filesystem::path& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 07777;
}

// A damaged hive is not an empty one: a caller that took "absent" for an answer would
// start over and write a new tree over the user's.
TEST(SqliteRegistryBackend, DamagedHiveFailsEveryLookupAndIsLeftAsItWas)
{
    TempDir dir;
    const std::string damage = "not a database, just bytes where a hive should be\n";
    WriteFileText(dir / "HKEY_CURRENT_USER.sqlite", damage);
    SqliteRegistryBackend backend(dir.path());
    RegKey key = 0;
    const std::int32_t answer = backend.OpenKeyEx(kHKeyCurrentUser, "Software", kKeyRead, key);
    EXPECT_NE(answer, kRegSuccess);
    EXPECT_NE(answer, kRegFileNotFound);
    std::uint32_t type = 0;
    EXPECT_NE(backend.QueryValue(kHKeyCurrentUser, "", type, nullptr), kRegFileNotFound);
    std::string name;
    EXPECT_NE(backend.EnumKey(kHKeyCurrentUser, 0, name), kRegNoMoreItems);

    clsRegAccess reg(backend);
    EXPECT_FALSE(reg.ReadStringOrFailure(kKey, "ProfileName").has_value());
    const auto absent = reg.ReadStringOrFailure("HKLM\\Software\\X", "ProfileName");
    ASSERT_TRUE(absent.has_value()) << "an intact hive without the value";
    EXPECT_FALSE(absent->has_value());
    EXPECT_EQ(reg.WriteString(kKey, "ProfileName", "someone"), 0);
    EXPECT_EQ(FileText(dir / "HKEY_CURRENT_USER.sqlite"), damage);
    // The other roots live in their own files and are not affected.
    EXPECT_NE(reg.WriteString("HKLM\\Software\\X", "v", "w"), 0);
}

TEST(SqliteRegistryBackend, MissingHiveInAFolderThatCannotBeWrittenIsEmptyNotDamaged)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into any folder";
    TempDir dir;
    ASSERT_EQ(chmod(dir.path().c_str(), 0500), 0);
    SqliteRegistryBackend backend(dir.path());
    RegKey key = 0;
    EXPECT_EQ(backend.OpenKeyEx(kHKeyCurrentUser, "Software", kKeyRead, key), kRegFileNotFound);
    chmod(dir.path().c_str(), 0700);
}

TEST(SqliteRegistryBackend, FolderAndFilesAreOwnerOnlyAlsoWhenFoundOpen)
{
    TempDir dir;
    const std::filesystem::path fresh = dir / "config" / "registry";
    {
        SqliteRegistryBackend backend(fresh);
        ASSERT_NE(clsRegAccess(backend).WriteString(kKey, "v", "w"), 0);
        EXPECT_EQ(ModeOf(fresh), 0700u);
        EXPECT_EQ(ModeOf(fresh.parent_path()), 0700u);
        EXPECT_EQ(ModeOf(fresh / "HKEY_CURRENT_USER.sqlite"), 0600u);
        EXPECT_EQ(ModeOf(fresh / "HKEY_CURRENT_USER.sqlite-wal"), 0600u);
    }
    // Left open by an earlier version of the program.
    ASSERT_EQ(chmod(fresh.c_str(), 0755), 0);
    ASSERT_EQ(chmod((fresh / "HKEY_CURRENT_USER.sqlite").c_str(), 0644), 0);
    SqliteRegistryBackend backend(fresh);
    EXPECT_EQ(clsRegAccess(backend).ReadString(kKey, "v", ""), "w");
    EXPECT_EQ(ModeOf(fresh), 0700u);
    EXPECT_EQ(ModeOf(fresh / "HKEY_CURRENT_USER.sqlite"), 0600u);
}

TEST(SqliteRegistryBackend, HandleOfADeletedKeyFails)
{
    TempDir dir;
    SqliteRegistryBackend backend(dir.path());
    RegKey key = 0;
    ASSERT_EQ(backend.CreateKey(kHKeyCurrentUser, "Gone", key), kRegSuccess);
    ASSERT_EQ(backend.DeleteKey(kHKeyCurrentUser, "Gone"), kRegSuccess);

    std::string name;
    std::uint32_t type = 0;
    EXPECT_NE(backend.SetValue(key, "v", kRegDword, std::string(4, '\0')), kRegSuccess);
    EXPECT_NE(backend.EnumKey(key, 0, name), kRegSuccess);
    EXPECT_NE(backend.EnumKey(key, 0, name), kRegNoMoreItems);
    EXPECT_NE(backend.QueryValue(key, "v", type, nullptr), kRegSuccess);
    RegKey recreated = 0;
    ASSERT_EQ(backend.CreateKey(kHKeyCurrentUser, "Gone", recreated), kRegSuccess);
    // A new key of the same name is a different key.
    EXPECT_NE(backend.EnumKey(key, 0, name), kRegNoMoreItems);
    EXPECT_EQ(backend.CloseKey(key), kRegSuccess);
    EXPECT_EQ(backend.CloseKey(key), kRegInvalidHandle);
    EXPECT_EQ(backend.CloseKey(recreated), kRegSuccess);
}

TEST(SqliteRegistryBackend, RootKeyCannotBeDeletedAndOverlongNamesOrDeepKeysAreRefused)
{
    TempDir dir;
    SqliteRegistryBackend backend(dir.path());
    RegKey key = 0;
    EXPECT_EQ(backend.DeleteKey(kHKeyLocalMachine, ""), kRegAccessDenied);
    EXPECT_EQ(backend.CreateKey(kHKeyLocalMachine, std::string(256, 'k'), key), kRegInvalidParameter);
    EXPECT_EQ(backend.CreateKey(kHKeyLocalMachine, std::string(255, 'k'), key), kRegSuccess);
    std::string deep = "k";
    for (int level = 1; level < 512; ++level)
        deep += "\\k";
    EXPECT_EQ(backend.CreateKey(kHKeyLocalMachine, deep, key), kRegSuccess);
    EXPECT_EQ(backend.CreateKey(key, "one more", key), kRegInvalidParameter);
    EXPECT_EQ(backend.CreateKey(kHKeyLocalMachine, deep + "\\k", key), kRegInvalidParameter);
    EXPECT_EQ(backend.OpenKey(kHKeyPerformanceData, "", key), kRegInvalidHandle);
}

TEST(SqliteRegistryBackend, DefaultDirectoryFollowsXdgConfigHome)
{
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string savedValue = saved ? saved : "";
    setenv("XDG_CONFIG_HOME", "/xdg/config", 1);
    EXPECT_EQ(DefaultRegistryDirectory(), "/xdg/config/kestrelyn-vormaplex/registry");
    // A relative value is not a valid base directory and is passed over.
    setenv("XDG_CONFIG_HOME", "relative", 1);
    setenv("HOME", getenv("HOME") ? getenv("HOME") : "/root", 1);
    EXPECT_EQ(DefaultRegistryDirectory(),
              std::filesystem::path(getenv("HOME")) / ".config/kestrelyn-vormaplex/registry");
    if (saved)
        setenv("XDG_CONFIG_HOME", savedValue.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

} // namespace
} // namespace kv::test
