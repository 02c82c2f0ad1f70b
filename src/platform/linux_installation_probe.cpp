#include "platform/installation_probe.h"

#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace kv {
namespace {

bool ModeGrantsWrite(const struct stat& folder)
{
    if (folder.st_uid == geteuid())
        return folder.st_mode & S_IWUSR;
    std::vector<gid_t> groups(static_cast<std::size_t>(getgroups(0, nullptr)) + 1);
    groups.resize(static_cast<std::size_t>(getgroups(static_cast<int>(groups.size()), groups.data())));
    groups.push_back(getegid());
    for (const gid_t group : groups) {
        if (folder.st_gid == group)
            return folder.st_mode & S_IWGRP;
    }
    return folder.st_mode & S_IWOTH;
}

// dpkg-query answers 0 when a package lists the file; a system without dpkg has no such
// packages.
bool OwnedByPackage(const std::filesystem::path& executable)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::string program = "dpkg-query", option = "--search", path = executable.string();
    char* argv[] = {program.data(), option.data(), path.data(), nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return false;
    int status = 0;
    pid_t waited = 0;
    do {
        waited = waitpid(pid, &status, 0);
    } while (waited < 0 && errno == EINTR);
    return waited == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

bool LinuxInstallationProbe::selfUpdatable(const std::filesystem::path& executable) const
{
    struct stat folder {};
    const std::filesystem::path parent = executable.has_parent_path() ? executable.parent_path() : ".";
    if (::stat(parent.c_str(), &folder) != 0 || !ModeGrantsWrite(folder))
        return false;
    return !OwnedByPackage(std::filesystem::weakly_canonical(executable));
}

} // namespace kv
