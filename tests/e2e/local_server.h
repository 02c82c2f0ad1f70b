#pragma once
// A web server on 127.0.0.1 (an ephemeral port) for tests that drive a real browser:
// serves the pages a test gives it and records every request it receives.
#include "common/served_site.h"

#include <chrono>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace kv::test {

class LocalServer {
public:
    struct Request {
        std::string method;
        std::string path;
        std::string host; // as the browser named the server
        std::string contentType;
        std::string body;
        std::string cookie;
        std::chrono::steady_clock::time_point received;
    };

    LocalServer()
        : site_([this](httplib::Server& server) {
              auto handler = [this](const httplib::Request& request, httplib::Response& response) {
                  serve(request, response);
              };
              server.Get(".*", handler);
              server.Post(".*", handler);
          })
    {
    }
    LocalServer(const LocalServer&) = delete;
    LocalServer& operator=(const LocalServer&) = delete;

    int port() const { return site_.port(); }
    // The address of a path on this server; "localhost" instead of the default host gives
    // the same server under another origin.
    std::string url(const std::string& path, const std::string& host = "127.0.0.1") const
    {
        return site_.url(host, path);
    }

    // Serves html for GET and POST of path (the query string is ignored).
    void page(const std::string& path, std::string html)
    {
        std::lock_guard lock(mutex_);
        pages_[path] = Page{std::move(html), {}};
    }
    // Answers path with a redirect to location.
    void redirect(const std::string& path, std::string location)
    {
        std::lock_guard lock(mutex_);
        pages_[path] = Page{{}, std::move(location)};
    }

    std::vector<Request> requests() const
    {
        std::lock_guard lock(mutex_);
        return requests_;
    }
    // The last request of that method for that path, if any came.
    std::optional<Request> last(const std::string& method, const std::string& path) const
    {
        std::lock_guard lock(mutex_);
        for (auto it = requests_.rbegin(); it != requests_.rend(); ++it)
            if (it->method == method && it->path == path)
                return *it;
        return std::nullopt;
    }
    // Its body, or a marker that cannot match an expected body when none came.
    std::string lastBody(const std::string& method, const std::string& path) const
    {
        const auto request = last(method, path);
        return request ? request->body : "<no " + method + " " + path + ">";
    }
    std::size_t count(const std::string& method, const std::string& path) const
    {
        std::lock_guard lock(mutex_);
        std::size_t n = 0;
        for (const auto& r : requests_)
            n += r.method == method && r.path == path;
        return n;
    }

private:
    struct Page {
        std::string html;
        std::string location;
    };

    void serve(const httplib::Request& request, httplib::Response& response)
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(Request{request.method, request.path, request.get_header_value("Host"),
                                    request.get_header_value("Content-Type"), request.body,
                                    request.get_header_value("Cookie"), std::chrono::steady_clock::now()});
        const auto it = pages_.find(request.path);
        if (it == pages_.end()) {
            response.set_content("<!doctype html><title>done</title><p>received</p>", "text/html");
        } else if (!it->second.location.empty()) {
            response.status = 302;
            response.set_header("Location", it->second.location);
        } else {
            response.set_content(it->second.html, "text/html; charset=utf-8");
        }
    }

    mutable std::mutex mutex_;
    std::map<std::string, Page> pages_;
    std::vector<Request> requests_;
    ServedSite site_; // last: it stops serving before what it serves goes
};

} // namespace kv::test
