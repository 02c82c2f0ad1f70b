#pragma once
// HTTP GET with the body streamed to a receiver, on a thread of the client's own. The
// receiver's calls come from that thread, one at a time: head (once, when an answer came),
// body (any number of times), end (exactly once, also when no answer came).
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace kv {

enum class ProxyChoice { System, Manual, Direct };

struct HttpGet {
    std::string url;
    ProxyChoice proxy = ProxyChoice::System;
    std::string proxyHost; // Manual only
    int proxyPort = 0;
    std::string userAgent;
    std::chrono::seconds connectTimeout{15};
    // The transfer fails when no byte arrives for this long.
    std::chrono::seconds stallTimeout{30};
    int maxRedirects = 10;
};

struct HttpHead {
    int status = 0;
    std::optional<std::int64_t> contentLength;
    std::string lastModified;
};

enum class HttpEnd {
    Complete,
    Failed,  // no answer, an error on the way, or too many redirects
    Refused, // the receiver said no from head or body, or the transfer was dropped
};

class HttpReceiver {
public:
    virtual ~HttpReceiver() = default;
    // false ends the transfer.
    virtual bool head(const HttpHead& head) = 0;
    virtual bool body(const char* data, std::size_t size) = 0;
    virtual void end(HttpEnd outcome) = 0;
};

// Dropping a transfer stops it at once and returns after the receiver's last call.
class HttpTransfer {
public:
    virtual ~HttpTransfer() = default;
};

class HttpClient {
public:
    virtual ~HttpClient() = default;
    // The receiver must outlive the transfer.
    virtual std::unique_ptr<HttpTransfer> get(const HttpGet& request, HttpReceiver& receiver) = 0;
};

} // namespace kv
