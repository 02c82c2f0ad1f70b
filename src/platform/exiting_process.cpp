#include "platform/exiting_process.h"

#include <cstdlib>
#include <spawn.h>
#include <unistd.h>

extern char** environ;

namespace kv {

void ExitingProcess::endProgram()
{
    std::_Exit(0);
}

void ExitingProcess::startProgram(const std::filesystem::path& executable,
                                  const std::vector<std::string>& arguments)
{
    std::vector<std::string> words{executable.string()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    // Its own session: the successor is not ended with this process's terminal or group.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t pid = 0;
    posix_spawn(&pid, argv[0], nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
}

long ExitingProcess::processId() const
{
    return static_cast<long>(getpid());
}

} // namespace kv
