#pragma once
// Starting a local httplib server on its own thread.
#include <httplib.h>

#include <atomic>
#include <memory>
#include <stdexcept>
#include <thread>

namespace kv::test {

// httplib's stop() does nothing before the listening loop has started, which would leave
// the server thread in accept() for good: a server is handed out only once it listens.
inline std::thread ListenInBackground(httplib::Server& server)
{
    auto ended = std::make_shared<std::atomic<bool>>(false);
    std::thread thread([&server, ended] {
        server.listen_after_bind();
        ended->store(true);
    });
    while (!server.is_running() && !ended->load())
        std::this_thread::yield();
    if (!server.is_running()) {
        thread.join();
        throw std::runtime_error("the local server could not listen");
    }
    return thread;
}

} // namespace kv::test
