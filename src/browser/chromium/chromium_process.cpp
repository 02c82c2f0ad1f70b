#include "browser/chromium/chromium_process.h"

#include "browser/chromium/browser_profile.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace kv {

namespace {

// Two pipes, both ends close-on-exec and moved above the descriptors the child is given,
// so placing them on 3 and 4 in the child never collides with them.
struct PipePair {
    int fd[2] = {-1, -1};
    bool make()
    {
        int raw[2];
        if (pipe2(raw, O_CLOEXEC) != 0)
            return false;
        for (int i = 0; i < 2; ++i) {
            fd[i] = fcntl(raw[i], F_DUPFD_CLOEXEC, 10);
            ::close(raw[i]);
        }
        return fd[0] >= 0 && fd[1] >= 0;
    }
    void closeAll()
    {
        for (int& f : fd)
            if (f >= 0) {
                ::close(f);
                f = -1;
            }
    }
};

} // namespace

std::vector<std::string> ChromiumProcess::arguments(const ChromiumOptions& options)
{
    std::vector<std::string> args{
        options.executable.string(),
        "--remote-debugging-pipe",
        "--user-data-dir=" + options.userDataDir.string(),
        "--no-first-run",
        "--no-default-browser-check",
        "--disable-background-networking",
        "--disable-component-update",
        "--disable-sync",
        "--disable-gpu",
        "--disable-quic",
        "--disable-domain-reliability",
        "--disable-client-side-phishing-detection",
        // Windows are opened by the program only: no empty start window, and the browser
        // keeps running when the user closes its last window.
        "--no-startup-window",
        // Lets the program load its own extension over the pipe; only the pipe's holder can.
        "--enable-unsafe-extension-debugging",
    };
    if (geteuid() == 0)
        args.emplace_back("--no-sandbox");
    if (options.headless)
        args.emplace_back("--headless");
    args.insert(args.end(), options.extraArguments.begin(), options.extraArguments.end());
    if (options.argumentsAtStart)
        for (std::string& argument : options.argumentsAtStart())
            args.push_back(std::move(argument));
    return args;
}

std::unique_ptr<ChromiumProcess> ChromiumProcess::start(const ChromiumOptions& options)
{
    if (access(options.executable.c_str(), X_OK) != 0 || options.userDataDir.empty())
        return nullptr;
    if (!SwitchOffBrowserPasswordSaving(options.userDataDir))
        return nullptr;
    PipePair toBrowser;   // the browser reads [0] on its fd 3
    PipePair fromBrowser; // the browser writes [1] on its fd 4
    if (!toBrowser.make() || !fromBrowser.make()) {
        toBrowser.closeAll();
        fromBrowser.closeAll();
        return nullptr;
    }

    const std::vector<std::string> args = arguments(options);
    std::vector<char*> argv;
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toBrowser.fd[0], 3);
    posix_spawn_file_actions_adddup2(&actions, fromBrowser.fd[1], 4);
    // The browser's own diagnostics may quote page content; they go nowhere.
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&actions, 5);

    pid_t pid = -1;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(toBrowser.fd[0]);
    ::close(fromBrowser.fd[1]);
    if (rc != 0) {
        ::close(toBrowser.fd[1]);
        ::close(fromBrowser.fd[0]);
        return nullptr;
    }
    return std::unique_ptr<ChromiumProcess>(new ChromiumProcess(pid, fromBrowser.fd[0], toBrowser.fd[1]));
}

bool ChromiumProcess::exited()
{
    if (reaped_)
        return true;
    int status = 0;
    pid_t r;
    do
        r = waitpid(pid_, &status, WNOHANG);
    while (r < 0 && errno == EINTR);
    if (r == pid_ || (r < 0 && errno == ECHILD))
        reaped_ = true;
    return reaped_;
}

ChromiumProcess::~ChromiumProcess()
{
    // Closing the pipe asks the browser to quit; it normally does so within a fraction of a second.
    pipe_.close();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (!exited() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (!exited()) {
        kill(pid_, SIGKILL);
        int status = 0;
        while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
    }
}

} // namespace kv
