#include "browser/chromium/pipe_transport.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <unistd.h>

namespace kv {

namespace {

void MakeNonBlocking(int fd)
{
    const int flags = fcntl(fd, F_GETFL);
    if (flags >= 0)
        fcntl(fd, F_SETFL, flags | O_NONBLOCK);
}

int RemainingMs(std::chrono::steady_clock::time_point deadline)
{
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// A write to a browser that has just died must fail, not end the program with SIGPIPE:
// the signal is held back while we write and a SIGPIPE we caused is taken off again.
class SigpipeHeld {
public:
    SigpipeHeld()
    {
        sigemptyset(&pipeSignal_);
        sigaddset(&pipeSignal_, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        alreadyPending_ = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipeSignal_, &previous_);
    }
    ~SigpipeHeld()
    {
        sigset_t pending;
        if (!alreadyPending_ && sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1) {
            const timespec none{0, 0};
            while (sigtimedwait(&pipeSignal_, nullptr, &none) < 0 && errno == EINTR) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }
    SigpipeHeld(const SigpipeHeld&) = delete;
    SigpipeHeld& operator=(const SigpipeHeld&) = delete;

private:
    sigset_t pipeSignal_;
    sigset_t previous_;
    bool alreadyPending_ = false;
};

} // namespace

PipeTransport::PipeTransport(int readFd, int writeFd, std::size_t maxMessage)
    : readFd_(readFd), writeFd_(writeFd), maxMessage_(maxMessage)
{
    MakeNonBlocking(readFd_);
    MakeNonBlocking(writeFd_);
}

PipeTransport::~PipeTransport()
{
    close();
}

void PipeTransport::close()
{
    if (readFd_ >= 0)
        ::close(readFd_);
    if (writeFd_ >= 0)
        ::close(writeFd_);
    readFd_ = writeFd_ = -1;
    partial_.clear();
}

bool PipeTransport::send(std::string_view message, std::chrono::milliseconds timeout)
{
    if (writeFd_ < 0)
        return false;
    std::string framed(message);
    framed += '\0';
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    const SigpipeHeld held;
    std::size_t written = 0;
    while (written < framed.size()) {
        const ssize_t n = ::write(writeFd_, framed.data() + written, framed.size() - written);
        if (n > 0) {
            written += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd p{writeFd_, POLLOUT, 0};
            const int ready = ::poll(&p, 1, RemainingMs(deadline));
            if (ready > 0 && !(p.revents & (POLLERR | POLLHUP)))
                continue;
            if (ready < 0 && errno == EINTR)
                continue;
        }
        close();
        return false;
    }
    return true;
}

bool PipeTransport::receive(std::vector<std::string>& messages)
{
    if (readFd_ < 0)
        return false;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(readFd_, buffer, sizeof buffer);
        if (n > 0) {
            std::size_t start = 0;
            for (ssize_t i = 0; i < n; ++i) {
                if (buffer[i] != '\0')
                    continue;
                if (!append(buffer + start, static_cast<std::size_t>(i) - start))
                    return false;
                messages.push_back(std::move(partial_));
                partial_.clear();
                start = static_cast<std::size_t>(i) + 1;
            }
            if (!append(buffer + start, static_cast<std::size_t>(n) - start))
                return false;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return true;
        close();
        return false;
    }
}

bool PipeTransport::append(const char* data, std::size_t size)
{
    if (partial_.size() + size > maxMessage_) {
        close();
        return false;
    }
    partial_.append(data, size);
    return true;
}

bool PipeTransport::waitReadable(std::chrono::milliseconds timeout) const
{
    if (readFd_ < 0)
        return true;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        pollfd p{readFd_, POLLIN, 0};
        const int ready = ::poll(&p, 1, RemainingMs(deadline));
        if (ready > 0)
            return true;
        if (ready == 0)
            return false;
        if (errno != EINTR)
            return true;
    }
}

} // namespace kv
