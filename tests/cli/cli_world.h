#pragma once
// kestrelyn-cli driven as a user drives it: the built binary, run with a home, config, data
// and runtime folder of its own, without a terminal (so nothing can be typed), its standard
// input, output and error captured.
#include "common/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <grp.h>
#include <map>
#include <poll.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace kv::test {

inline const std::filesystem::path kCliBinary =
    std::filesystem::path(KV_BINARY_DIR) / "cli" / "kestrelyn-cli";

struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;

    // The lines of standard error.
    std::vector<std::string> errLines() const
    {
        std::vector<std::string> lines;
        for (std::size_t at = 0; at < err.size();) {
            const std::size_t end = err.find('\n', at);
            lines.push_back(err.substr(at, end == std::string::npos ? std::string::npos : end - at));
            at = end == std::string::npos ? err.size() : end + 1;
        }
        return lines;
    }
};

// A failure as the tool promises it: a non-zero exit and exactly one line on standard error.
inline ::testing::AssertionResult FailsWithOneLine(const CliResult& result, const std::string& saying)
{
    const auto lines = result.errLines();
    if (result.exitCode == 0)
        return ::testing::AssertionFailure() << "exited 0; stderr: " << result.err;
    if (lines.size() != 1)
        return ::testing::AssertionFailure() << "stderr has " << lines.size() << " lines: " << result.err;
    if (lines.front().find(saying) == std::string::npos)
        return ::testing::AssertionFailure()
               << "stderr '" << lines.front() << "' does not say '" << saying << "'";
    return ::testing::AssertionSuccess();
}

class CliWorld {
public:
    CliWorld()
    {
        std::filesystem::create_directories(home_ / ".config");
        std::filesystem::create_directories(home_ / ".local" / "share");
        std::filesystem::create_directories(home_ / "run");
        chmod((home_ / "run").c_str(), 0700);
        environment_ = {{"HOME", home_.path().string()},
                        {"XDG_CONFIG_HOME", (home_ / ".config").string()},
                        {"XDG_DATA_HOME", (home_ / ".local" / "share").string()},
                        {"XDG_RUNTIME_DIR", (home_ / "run").string()}};
    }

    const std::filesystem::path& home() const { return home_.path(); }
    std::filesystem::path profile() const { return home_ / "profile"; }
    std::map<std::string, std::string>& environment() { return environment_; }

    // Later runs are as an unprivileged user who owns the home folder, for checks that root's
    // right to write anything would defeat. False when this process cannot switch users.
    bool runUnprivileged()
    {
        if (geteuid() != 0)
            return true;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(home_.path()))
            if (lchown(entry.path().c_str(), kUnprivileged, kUnprivileged) != 0)
                return false;
        unprivileged_ = lchown(home_.path().c_str(), kUnprivileged, kUnprivileged) == 0;
        return unprivileged_;
    }

    CliResult run(const std::vector<std::string>& arguments, const std::string& input = {}) const
    {
        TempDir capture;
        const auto outFile = capture / "out";
        const auto errFile = capture / "err";
        const auto inFile = capture / "in";
        WriteFile(inFile, input);
        const pid_t child = fork();
        if (child == 0) {
            // No controlling terminal: whatever the tool would ask on one, it cannot.
            setsid();
            Redirect(inFile, STDIN_FILENO, O_RDONLY);
            Redirect(outFile, STDOUT_FILENO, O_WRONLY | O_CREAT | O_TRUNC);
            Redirect(errFile, STDERR_FILENO, O_WRONLY | O_CREAT | O_TRUNC);
            for (const auto& [name, value] : environment_)
                setenv(name.c_str(), value.c_str(), 1);
            if (unprivileged_ &&
                (setgroups(0, nullptr) != 0 || setgid(kUnprivileged) != 0 || setuid(kUnprivileged) != 0))
                _exit(126);
            std::vector<char*> argv{const_cast<char*>(kCliBinary.c_str())};
            for (const std::string& argument : arguments)
                argv.push_back(const_cast<char*>(argument.c_str()));
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), ReadFile(outFile),
                ReadFile(errFile)};
    }

    // A profile without a program login, made by the tool itself.
    void initOpenProfile(const std::vector<std::string>& extra = {}) const
    {
        std::vector<std::string> arguments{"init", "--dir", profile().string(), "--login-choice", "4"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        const CliResult made = run(arguments);
        ASSERT_EQ(made.exitCode, 0) << made.err;
    }

    static void WriteFile(const std::filesystem::path& file, const std::string& text)
    {
        std::FILE* out = std::fopen(file.c_str(), "wb");
        ASSERT_NE(out, nullptr) << file;
        std::fwrite(text.data(), 1, text.size(), out);
        std::fclose(out);
    }
    static std::string ReadFile(const std::filesystem::path& file)
    {
        std::string text;
        if (std::FILE* in = std::fopen(file.c_str(), "rb")) {
            char buffer[4096];
            for (std::size_t got; (got = std::fread(buffer, 1, sizeof(buffer), in)) > 0;)
                text.append(buffer, got);
            std::fclose(in);
        }
        return text;
    }

private:
    static void Redirect(const std::filesystem::path& file, int target, int flags)
    {
        const int fd = open(file.c_str(), flags, 0600);
        if (fd >= 0)
            dup2(fd, target);
    }

    static constexpr uid_t kUnprivileged = 65534;

    TempDir home_;
    bool unprivileged_ = false;
    std::map<std::string, std::string> environment_;
};

} // namespace kv::test
