#include "platform/xdg_desktop_shell.h"

#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace kv {
namespace {

// Arguments are passed as words: no shell ever sees them.
std::vector<char*> argvOf(std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    for (auto& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    return argv;
}

// Runs a program found on the PATH and waits for it; its exit status, or -1.
int runAndWait(std::vector<std::string> arguments)
{
    auto argv = argvOf(arguments);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// Starts a program that may run for as long as the user keeps it open (xdg-open can wait
// for the program it starts): a short-lived middle process leaves it to init, so it is
// neither waited for nor left behind as a zombie.
void startDetached(std::vector<std::string> arguments)
{
    auto argv = argvOf(arguments);
    const pid_t middle = fork();
    if (middle < 0)
        return;
    if (middle == 0) {
        if (fork() == 0) {
            setsid();
            execvp(argv[0], argv.data());
            _exit(127);
        }
        _exit(0);
    }
    int status = 0;
    waitpid(middle, &status, 0);
}

} // namespace

void XdgDesktopShell::open(std::string_view pathOrAddress)
{
    startDetached({"xdg-open", std::string(pathOrAddress)});
}

void XdgDesktopShell::lockSession()
{
    if (runAndWait({"loginctl", "lock-session"}) != 0)
        runAndWait({"xdg-screensaver", "lock"});
}

} // namespace kv
