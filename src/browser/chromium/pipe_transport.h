#pragma once
// The browser's debugging pipe: JSON messages, each ended by a NUL byte, written to one
// descriptor and read from another. One read may carry several messages or part of one.
#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

class PipeTransport {
public:
    // Takes ownership of both descriptors; both are switched to non-blocking mode.
    PipeTransport(int readFd, int writeFd);
    ~PipeTransport();
    PipeTransport(const PipeTransport&) = delete;
    PipeTransport& operator=(const PipeTransport&) = delete;

    // Writes one message and its terminator. A write that cannot finish in time leaves the
    // stream unusable, so the transport closes itself and reports false.
    bool send(std::string_view message, std::chrono::milliseconds timeout);

    // Reads whatever is available without waiting and appends every complete message.
    // Returns false once the other side has closed the pipe (or it failed).
    bool receive(std::vector<std::string>& messages);

    // Waits until something can be read (or the pipe closed); false when the time ran out.
    bool waitReadable(std::chrono::milliseconds timeout) const;

    bool open() const { return readFd_ >= 0; }
    int readFd() const { return readFd_; }
    void close();

private:
    int readFd_;
    int writeFd_;
    std::string partial_;
};

} // namespace kv
