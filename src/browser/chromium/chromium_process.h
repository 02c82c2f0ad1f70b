#pragma once
// One Chromium process of our own, started with its debugging pipe on descriptors 3 and 4
// and its own profile directory. Never a TCP debugging port: any local process could read
// the pages (and the passwords in them) through one.
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

#include "browser/chromium/pipe_transport.h"

namespace kv {

struct ChromiumOptions {
    std::filesystem::path executable = "/usr/lib/chromium/chromium";
    std::filesystem::path userDataDir; // required: the browser's own profile
    bool headless = false;
    std::vector<std::string> extraArguments;
    // Asked at every start, for what the user may have switched on since the last one.
    std::function<std::vector<std::string>()> argumentsAtStart;
    std::chrono::milliseconds callTimeout{5000};   // any one synchronous call
    std::chrono::milliseconds startTimeout{20000}; // from start to the first answer
};

class ChromiumProcess {
public:
    // Starts the browser; nullptr when it could not be started.
    static std::unique_ptr<ChromiumProcess> start(const ChromiumOptions& options);
    ~ChromiumProcess(); // closes the pipe, gives the browser a moment to exit, then kills it

    ChromiumProcess(const ChromiumProcess&) = delete;
    ChromiumProcess& operator=(const ChromiumProcess&) = delete;

    PipeTransport& pipe() { return pipe_; }
    pid_t pid() const { return pid_; }
    // True once the process has ended (reaps it when it has).
    bool exited();

    static std::vector<std::string> arguments(const ChromiumOptions& options);

private:
    ChromiumProcess(pid_t pid, int readFd, int writeFd) : pid_(pid), pipe_(readFd, writeFd) {}

    pid_t pid_;
    bool reaped_ = false;
    PipeTransport pipe_;
};

} // namespace kv
