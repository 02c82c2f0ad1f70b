#pragma once
// A web server on 127.0.0.1 (an ephemeral port) answering the routes it was given, on a
// thread of its own for as long as it lives.
#include <httplib.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <thread>

namespace kv::test {

class ServedSite {
public:
    explicit ServedSite(const std::function<void(httplib::Server&)>& routes)
    {
        routes(server_);
        // The browser keeps idle and speculative connections open; short waits on them keep
        // the server's end (which waits for every connection) quick.
        server_.set_keep_alive_max_count(1);
        server_.set_read_timeout(1, 0);
        server_.set_keep_alive_timeout(1);
        port_ = server_.bind_to_any_port("127.0.0.1");
        if (port_ <= 0)
            throw std::runtime_error("cannot bind a local port");
        // Bound and listening already: connections wait in the backlog until the loop runs.
        thread_ = std::thread([this] { server_.listen_after_bind(); });
    }
    ~ServedSite()
    {
        server_.stop();
        thread_.join();
    }
    ServedSite(const ServedSite&) = delete;
    ServedSite& operator=(const ServedSite&) = delete;

    int port() const { return port_; }
    // The address of path on this server under host (which the browser must map to 127.0.0.1).
    std::string url(const std::string& host, const std::string& path) const
    {
        return "http://" + host + ":" + std::to_string(port_) + path;
    }

private:
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
};

} // namespace kv::test
