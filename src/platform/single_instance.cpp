#include "platform/single_instance.h"

#include "platform/instance_request.h"
#include "platform/private_folder.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
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

// Waits until fd is ready for events or the deadline passes.
bool WaitReady(int fd, short events, std::chrono::steady_clock::time_point deadline)
{
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd watched{fd, events, 0};
        const int ready = ::poll(&watched, 1, static_cast<int>(left.count()));
        if (ready > 0)
            return true;
        if (ready < 0 && errno != EINTR)
            return false;
    }
}

// Writes all of text unless the other side stops reading before the deadline.
bool WriteAll(int fd, std::string_view text, std::chrono::steady_clock::time_point deadline)
{
    while (!text.empty()) {
        const ssize_t written = ::send(fd, text.data(), text.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (written > 0) {
            text.remove_prefix(static_cast<std::size_t>(written));
            continue;
        }
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && WaitReady(fd, POLLOUT, deadline))
            continue;
        return false;
    }
    return true;
}

int Connect(const fs::path& file)
{
    sockaddr_un address{};
    if (file.empty() || !SocketAddress(file, address))
        return -1;
    const int connection = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (connection < 0)
        return -1;
    if (connect(connection, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        ::close(connection);
        return -1;
    }
    return connection;
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

int RuntimeDirInstanceLock::acceptConnection()
{
    if (listener_ < 0)
        return -1;
    return accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
}

bool RuntimeDirInstanceLock::askRunningInstanceToShow() const
{
    if (directory_.empty())
        return false;
    const int connection = Connect(directory_ / kSocketName);
    if (connection < 0)
        return false;
    ::close(connection);
    return true;
}

std::optional<std::string> RuntimeDirInstanceLock::sendRequest(std::string_view line,
                                                               std::chrono::milliseconds timeout) const
{
    if (directory_.empty())
        return std::nullopt;
    const int connection = Connect(directory_ / kSocketName);
    if (connection < 0)
        return std::nullopt;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::string reply;
    if (WriteAll(connection, std::string(line) + "\n", deadline)) {
        ::shutdown(connection, SHUT_WR);
        char buffer[4096];
        while (reply.find('\n') == std::string::npos && reply.size() <= kMaxInstanceMessage &&
               WaitReady(connection, POLLIN, deadline)) {
            const ssize_t got = ::recv(connection, buffer, sizeof(buffer), MSG_DONTWAIT);
            if (got < 0 && (errno == EINTR || errno == EAGAIN))
                continue;
            if (got <= 0)
                break;
            reply.append(buffer, static_cast<std::size_t>(got));
        }
    }
    ::close(connection);
    if (reply.size() > kMaxInstanceMessage)
        return std::string();
    return reply.substr(0, reply.find('\n'));
}

InstanceConnection::~InstanceConnection()
{
    if (fd_ >= 0)
        ::close(fd_);
}

InstanceConnection::State InstanceConnection::readAvailable()
{
    if (fd_ < 0)
        return State::Failed;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::recv(fd_, buffer, sizeof(buffer), MSG_DONTWAIT);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno == EAGAIN || errno == EWOULDBLOCK ? State::Reading : State::Failed;
        if (got == 0)
            return request_.size() > kMaxInstanceMessage ? State::Failed : State::Complete;
        request_.append(buffer, static_cast<std::size_t>(got));
        const auto end = request_.find('\n');
        if (std::min(end, request_.size()) > kMaxInstanceMessage)
            return State::Failed;
        if (end != std::string::npos) {
            request_.resize(end);
            return State::Complete;
        }
    }
}

void InstanceConnection::reply(std::string_view line)
{
    if (fd_ < 0)
        return;
    WriteAll(fd_, std::string(line) + "\n", std::chrono::steady_clock::now() + std::chrono::seconds(2));
    ::close(fd_);
    fd_ = -1;
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
