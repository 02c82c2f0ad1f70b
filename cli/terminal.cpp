#include "cli/terminal.h"

#include <csignal>
#include <iostream>
#include <termios.h>
#include <unistd.h>

namespace kv::cli {
namespace {

// What an interrupt during a secret read puts back before the process ends.
int echoFd = -1;
termios echoSettings{};

void RestoreEchoAndEnd(int signalNumber)
{
    if (echoFd >= 0)
        tcsetattr(echoFd, TCSANOW, &echoSettings);
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

std::optional<std::string> ReadLineFrom(std::FILE* file)
{
    std::string line;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
        if (c == '\n')
            return line;
        line.push_back(static_cast<char>(c));
    }
    if (line.empty())
        return std::nullopt;
    return line;
}

} // namespace

Terminal::Terminal() : tty_(std::fopen("/dev/tty", "r+e")) {}

Terminal::~Terminal()
{
    if (tty_)
        std::fclose(tty_);
}

void Terminal::say(std::string_view line)
{
    if (!tty_)
        return;
    std::fprintf(tty_, "%.*s\n", static_cast<int>(line.size()), line.data());
    std::fflush(tty_);
}

std::optional<std::string> Terminal::readLine(std::string_view prompt)
{
    if (!tty_)
        return std::nullopt;
    std::fprintf(tty_, "%.*s", static_cast<int>(prompt.size()), prompt.data());
    std::fflush(tty_);
    return ReadLineFrom(tty_);
}

std::optional<std::string> Terminal::readSecret(std::string_view prompt)
{
    if (!tty_)
        return std::nullopt;
    const int fd = fileno(tty_);
    termios settings{};
    const bool canHide = tcgetattr(fd, &settings) == 0;
    if (canHide) {
        echoFd = fd;
        echoSettings = settings;
        std::signal(SIGINT, RestoreEchoAndEnd);
        std::signal(SIGTERM, RestoreEchoAndEnd);
        termios hidden = settings;
        hidden.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(fd, TCSAFLUSH, &hidden);
    }
    std::fprintf(tty_, "%.*s", static_cast<int>(prompt.size()), prompt.data());
    std::fflush(tty_);
    auto secret = ReadLineFrom(tty_);
    if (canHide) {
        tcsetattr(fd, TCSAFLUSH, &settings);
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);
        echoFd = -1;
        std::fputc('\n', tty_);
        std::fflush(tty_);
    }
    return secret;
}

std::optional<std::string> ReadStandardInputLine()
{
    return ReadLineFrom(stdin);
}

} // namespace kv::cli
