#pragma once
// The user's terminal, reached through /dev/tty so that prompts work while standard input
// and output carry data. Secrets are read with the echo off; it comes back on however the
// read ends, an interrupt included.
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace kv::cli {

class Terminal {
public:
    Terminal();
    ~Terminal();
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;

    bool available() const { return tty_ != nullptr; }
    void say(std::string_view line);
    // Nothing without a terminal or at its end of input.
    std::optional<std::string> readLine(std::string_view prompt);
    std::optional<std::string> readSecret(std::string_view prompt);

private:
    std::FILE* tty_ = nullptr;
};

// One line of standard input without its line end; nothing at the end of input.
std::optional<std::string> ReadStandardInputLine();

} // namespace kv::cli
