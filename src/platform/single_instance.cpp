#include "platform/single_instance.h"

#include "platform/private_folder.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace kv {

namespace {
namespace fs = std::filesystem;

constexpr const char* kLockName = "kestrelyn-vormaplex.lock";
constexpr const char* kSocketName = "kestrelyn-vormaplex.socket";
constexpr std::chrono::seconds kTakeOverWait(10);

bool SocketAddress(const fs::path& file, sockaddr_un& address)
{
    const std::string text = file.string();
    if (text.size() >= sizeof(address.sun_path))
        return false;
    std::memset(&address, 0, sizeof(address));
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, text.c_str(), text.size() + 1);
    return true;
}

int Listen(const fs::path& file)
{
    sockaddr_un address{};
    if (!SocketAddress(file, address))
        return -1;
    const int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listener < 0)
        return -1;
    ::unlink(address.sun_path); // left by an instance that ended without cleaning up; we hold the lock
    if (bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        listen(listener, 4) != 0) {
        ::close(listener);
        return -1;
    }
    return listener;
}
} // namespace

RuntimeDirInstanceLock::RuntimeDirInstanceLock(fs::path directory) : directory_(std::move(directory)) {}

RuntimeDirInstanceLock::~RuntimeDirInstanceLock()
{
    if (listener_ >= 0) {
        ::close(listener_);
        ::unlink((directory_ / kSocketName).c_str());
    }
    if (lock_ >= 0)
        ::close(lock_);
}

RuntimeDirInstanceLock::Claim RuntimeDirInstanceLock::tryClaim()
{
    if (lock_ >= 0)
        return Claim::Taken;
    // Without a usable runtime folder nothing can be shared, so nothing is refused.
    if (directory_.empty())
        return Claim::Unusable;
    const int lock =
        ::open((directory_ / kLockName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lock < 0)
        return Claim::Unusable;
    if (flock(lock, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(lock);
        return held ? Claim::Held : Claim::Unusable;
    }
    lock_ = lock;
    listener_ = Listen(directory_ / kSocketName);
    return Claim::Taken;
}

bool RuntimeDirInstanceLock::claim()
{
    return tryClaim() != Claim::Held;
}

void RuntimeDirInstanceLock::takeOver()
{
    // The lock goes when the ended process is gone, a moment after it was told to end.
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + kTakeOverWait;
    std::chrono::milliseconds pause(1);
    while (tryClaim() == Claim::Held && Clock::now() < deadline) {
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(50));
    }
}

bool RuntimeDirInstanceLock::takeShowRequest()
{
    if (listener_ < 0)
        return false;
    const int connection = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0)
        return false;
    ::close(connection);
    return true;
}

bool RuntimeDirInstanceLock::askRunningInstanceToShow() const
{
    sockaddr_un address{};
    if (directory_.empty() || !SocketAddress(directory_ / kSocketName, address))
        return false;
    const int connection = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (connection < 0)
        return false;
    const bool connected =
        connect(connection, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    ::close(connection);
    return connected;
}

fs::path UserRuntimeDirectory()
{
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime == '/')
        return runtime;
    const fs::path folder = fs::temp_directory_path() / ("kestrelyn-vormaplex-" + std::to_string(geteuid()));
    ::mkdir(folder.c_str(), 0700);
    return IsOwnPrivateFolder(folder) ? folder : fs::path();
}

} // namespace kv
