#pragma once
// The browser's debugging pipe: JSON messages, each ended by a NUL byte, written to one
// descriptor and read from another. One read may carry several messages or part of one.
#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

class PipeTransport {
public:
    // No message of the browser comes near this; a longer one is a page flooding us.
    static constexpr std::size_t kMaxMessage = 64u << 20;

    // Takes ownership of both descriptors; both are switched to non-blocking mode.
    PipeTransport(int readFd, int writeFd, std::size_t maxMessage = kMaxMessage);
    ~PipeTransport();
    PipeTransport(const PipeTransport&) = delete;
    PipeTransport& operator=(const PipeTransport&) = delete;

    // Writes one message and its terminator. A write that cannot finish in time leaves the
    // stream unusable, so the transport closes itself and reports false.
    bool send(std::string_view message, std::chrono::milliseconds timeout);

    // Reads whatever is available without waiting and appends every complete message.
    // Returns false once the other side has closed the pipe (or it failed), and when a
    // message grows past the limit: then the pipe is closed, and so the browser ends.
    bool receive(std::vector<std::string>& messages);

    // Waits until something can be read (or the pipe closed); false when the time ran out.
    bool waitReadable(std::chrono::milliseconds timeout) const;

    bool open() const { return readFd_ >= 0; }
    int readFd() const { return readFd_; }
    void close();

private:
    bool append(const char* data, std::size_t size);

    int readFd_;
    int writeFd_;
    std::size_t maxMessage_;
    std::string partial_;
};

} // namespace kv
