#pragma once
// Two pipes: the transport under test on one side, raw descriptors for the test on the other.
#include "browser/chromium/pipe_transport.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace kv {

struct PipeEnds {
    explicit PipeEnds(std::size_t maxMessage = PipeTransport::kMaxMessage)
    {
        int in[2], out[2];
        if (pipe(in) != 0 || pipe(out) != 0)
            throw std::runtime_error("pipe");
        transport = std::make_unique<PipeTransport>(in[0], out[1], maxMessage);
        peerWrite = in[1];
        peerRead = out[0];
    }
    ~PipeEnds()
    {
        if (peerWrite >= 0)
            close(peerWrite);
        close(peerRead);
    }
    void peerSend(const std::string& bytes) const
    {
        ASSERT_EQ(write(peerWrite, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    void peerClose()
    {
        close(peerWrite);
        peerWrite = -1;
    }

    std::unique_ptr<PipeTransport> transport;
    int peerWrite;
    int peerRead;
};

} // namespace kv
