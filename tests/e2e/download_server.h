#pragma once
// A file server on 127.0.0.1 (an ephemeral port) for download tests: files, statuses,
// redirects, bodies without a length, and answers that stall until the server stops.
// Records the request line target and Host of every request.
#include "common/listening_server.h"

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace kv::test {

class DownloadServer {
public:
    DownloadServer()
    {
        server_.Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
            serve(request, response);
        });
        // One request per connection: every transfer of the program opens its own anyway.
        server_.set_keep_alive_max_count(1);
        port_ = server_.bind_to_any_port("127.0.0.1");
        if (port_ <= 0)
            throw std::runtime_error("cannot bind a local port");
        thread_ = ListenInBackground(server_);
    }
    ~DownloadServer()
    {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        released_.notify_all();
        server_.stop();
        thread_.join();
    }
    DownloadServer(const DownloadServer&) = delete;
    DownloadServer& operator=(const DownloadServer&) = delete;

    int port() const { return port_; }
    std::string host() const { return "127.0.0.1:" + std::to_string(port_); }
    std::string url(const std::string& path) const { return "http://" + host() + path; }

    void file(const std::string& path, std::string body, std::string lastModified = {})
    {
        set(path, {Kind::File, std::move(body), 200, {}, std::move(lastModified)});
    }
    void status(const std::string& path, int status)
    {
        set(path, {Kind::File, "status page", status, {}, {}});
    }
    void redirect(const std::string& path, std::string location)
    {
        set(path, {Kind::File, {}, 302, std::move(location), {}});
    }
    // A body sent in pieces without Content-Length.
    void unsized(const std::string& path, std::string body)
    {
        set(path, {Kind::Unsized, std::move(body), 200, {}, {}});
    }
    // Content-Length says size; the first bytes come, then nothing until the server stops.
    void stallAfter(const std::string& path, std::string firstBytes, std::size_t size)
    {
        set(path, {Kind::StallBody, std::move(firstBytes), 200, {}, {}, size});
    }
    // No answer at all until the server stops.
    void stallBeforeAnswer(const std::string& path) { set(path, {Kind::StallHead, {}, 200, {}, {}}); }

    // Request targets as they arrived ("/a" directly, "http://host/a" through a proxy).
    std::vector<std::string> targets() const
    {
        std::lock_guard lock(mutex_);
        return targets_;
    }

private:
    enum class Kind { File, Unsized, StallBody, StallHead };
    struct Entry {
        Kind kind = Kind::File;
        std::string body;
        int status = 200;
        std::string location;
        std::string lastModified;
        std::size_t declaredSize = 0;
    };

    void set(const std::string& path, Entry entry)
    {
        std::lock_guard lock(mutex_);
        entries_[path] = std::move(entry);
    }

    void waitForStop()
    {
        std::unique_lock lock(mutex_);
        released_.wait(lock, [this] { return stopping_; });
    }

    void serve(const httplib::Request& request, httplib::Response& response)
    {
        Entry entry;
        {
            std::lock_guard lock(mutex_);
            targets_.push_back(request.target);
            const auto it = entries_.find(request.path);
            if (it == entries_.end()) {
                response.status = 404;
                return;
            }
            entry = it->second;
        }
        response.status = entry.status;
        if (!entry.location.empty())
            response.set_header("Location", entry.location);
        if (!entry.lastModified.empty())
            response.set_header("Last-Modified", entry.lastModified);
        switch (entry.kind) {
        case Kind::File:
            response.set_content(entry.body, "application/octet-stream");
            break;
        case Kind::Unsized:
            response.set_chunked_content_provider(
                "application/octet-stream", [body = entry.body](std::size_t offset, httplib::DataSink& sink) {
                    const std::size_t piece = std::min<std::size_t>(4096, body.size() - offset);
                    sink.write(body.data() + offset, piece);
                    if (offset + piece == body.size())
                        sink.done();
                    return true;
                });
            break;
        case Kind::StallBody:
            response.set_content_provider(
                entry.declaredSize, "application/octet-stream",
                [this, first = entry.body](std::size_t, std::size_t, httplib::DataSink& sink) {
                    sink.write(first.data(), first.size());
                    waitForStop();
                    return false;
                });
            break;
        case Kind::StallHead:
            waitForStop();
            break;
        }
    }

    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
    mutable std::mutex mutex_;
    std::condition_variable released_;
    bool stopping_ = false;
    std::map<std::string, Entry> entries_;
    std::vector<std::string> targets_;
};

} // namespace kv::test
