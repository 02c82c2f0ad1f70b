#pragma once
// A private X display (Xvfb) and programs started on it, for tests and benchmarks that
// need the real program's window. Everything started here is ended by its destructor.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace kv::test {

inline bool ProgramOnPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    for (std::size_t start = 0; start <= folders.size();) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        if (access((folders.substr(start, end - start) + "/" + name).c_str(), X_OK) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

// Polls until done() holds or the limit passes; returns done().
inline bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit,
                    std::chrono::milliseconds every = std::chrono::milliseconds(10))
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(every);
    }
    return true;
}

class ChildProcess {
public:
    // environment: variables set (or replaced) for the child on top of ours; output: a file
    // that receives what the child writes (none: ours).
    ChildProcess(std::vector<std::string> command, const std::map<std::string, std::string>& environment = {},
                 const std::filesystem::path& output = {})
    {
        std::vector<std::string> variables;
        for (char** entry = environ; *entry; ++entry) {
            std::string variable = *entry;
            if (!environment.contains(variable.substr(0, variable.find('='))))
                variables.push_back(variable);
        }
        for (const auto& [name, value] : environment)
            variables.push_back(name + "=" + value);
        std::vector<char*> argv;
        for (std::string& part : command)
            argv.push_back(part.data());
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (std::string& variable : variables)
            envp.push_back(variable.data());
        envp.push_back(nullptr);
        pid_ = fork();
        if (pid_ == 0) {
            setpgid(0, 0);
            // A test that dies takes what it started with it.
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            if (!output.empty()) {
                const int file = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
                if (file >= 0) {
                    dup2(file, STDOUT_FILENO);
                    dup2(file, STDERR_FILENO);
                }
            }
            execvpe(argv[0], argv.data(), envp.data());
            _exit(127);
        }
        // Set here too: a stop() that comes before the child got to it still reaches its group.
        if (pid_ > 0)
            setpgid(pid_, pid_);
    }
    ~ChildProcess() { stop(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }
    bool running()
    {
        if (pid_ <= 0)
            return false;
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return false;
        }
        return true;
    }
    // Asks the child to end (so that an X server removes its socket), then makes it.
    void stop()
    {
        if (pid_ <= 0)
            return;
        kill(-pid_, SIGTERM);
        if (!WaitFor([this] { return !running(); }, std::chrono::seconds(3))) {
            kill(-pid_, SIGKILL);
            int status = 0;
            waitpid(pid_, &status, 0);
        }
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
};

// The text a command writes to its standard output, and whether it succeeded.
inline bool RunCommand(const std::string& command, std::string* output = nullptr)
{
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return false;
    char buffer[512];
    std::string text;
    while (std::size_t read = std::fread(buffer, 1, sizeof buffer, pipe))
        text.append(buffer, read);
    const int status = pclose(pipe);
    if (output)
        *output = text;
    return status == 0;
}

class XvfbDisplay {
public:
    // The server picks a free display number itself and tells it, so that parallel runs
    // never share one. It never resets: without -noreset it does so whenever its last client
    // leaves, and a program connecting at that moment is refused.
    XvfbDisplay(int width, int height)
    {
        std::string folder = (std::filesystem::temp_directory_path() / "kv-xvfb-XXXXXX").string();
        if (!mkdtemp(folder.data()))
            return;
        folder_ = folder;
        const std::filesystem::path told = folder_ / "display";
        server_ = std::make_unique<ChildProcess>(
            std::vector<std::string>{"Xvfb", "-displayfd", "1", "-noreset", "-screen", "0",
                                     std::to_string(width) + "x" + std::to_string(height) + "x24",
                                     "-nolisten", "tcp"},
            std::map<std::string, std::string>{}, told);
        const bool named = WaitFor(
            [&] {
                name_ = DisplayNumberIn(told);
                return !name_.empty() || !server_->running();
            },
            std::chrono::seconds(15));
        if (!named || name_.empty() || !server_->running()) {
            server_.reset();
            name_.clear();
        }
    }
    ~XvfbDisplay()
    {
        server_.reset();
        if (!folder_.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(folder_, ignored);
        }
    }
    XvfbDisplay(const XvfbDisplay&) = delete;
    XvfbDisplay& operator=(const XvfbDisplay&) = delete;

    bool ready() const { return server_ != nullptr; }
    const std::string& name() const { return name_; }

    // The id of a visible window with this exact title, or "" when there is none yet.
    std::string visibleWindow(const std::string& title) const
    {
        std::string output;
        if (!RunCommand("DISPLAY=" + name_ + " xdotool search --onlyvisible --name '^" + title +
                            "$' 2>/dev/null",
                        &output))
            return {};
        return output.substr(0, output.find('\n'));
    }

    // What the property reads on the root window (xprop's line), or "" when it cannot be read.
    std::string rootProperty(const std::string& name) const
    {
        std::string output;
        RunCommand("DISPLAY=" + name_ + " xprop -root " + name + " 2>/dev/null", &output);
        return output;
    }

private:
    // ":N" from the line of digits the server writes once it listens; "" before that.
    static std::string DisplayNumberIn(const std::filesystem::path& file)
    {
        std::ifstream told(file);
        for (std::string line; std::getline(told, line);) {
            if (!line.empty() && line.find_first_not_of("0123456789") == std::string::npos)
                return ":" + line;
        }
        return {};
    }

    std::filesystem::path folder_;
    std::string name_;
    std::unique_ptr<ChildProcess> server_;
};

// openbox managing a display: windows get frames and honour the placement rules of a real
// desktop.
class WindowManager {
public:
    explicit WindowManager(const XvfbDisplay& display)
        : process_({"openbox", "--sm-disable"}, {{"DISPLAY", display.name()}}, "/dev/null")
    {
        managing_ = WaitFor(
                        [&] {
                            return display.rootProperty("_NET_SUPPORTING_WM_CHECK").find("window id") !=
                                       std::string::npos ||
                                   !process_.running();
                        },
                        std::chrono::seconds(15)) &&
                    process_.running();
    }
    bool ready() const { return managing_; }

private:
    ChildProcess process_;
    bool managing_ = false;
};

} // namespace kv::test
