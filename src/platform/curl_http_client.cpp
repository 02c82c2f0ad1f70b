#include "platform/curl_http_client.h"

#include <curl/curl.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string_view>
#include <thread>

namespace kv {
namespace {

// Large enough that a fast local transfer costs few callbacks; curl's own tool uses 100 KiB.
constexpr long kReceiveBufferBytes = 256 * 1024;
// The longest wait for the network between two looks at the stall timer.
constexpr int kIdleWaitMs = 250;

using Clock = std::chrono::steady_clock;

std::string_view TrimmedHeaderValue(std::string_view line)
{
    const auto colon = line.find(':');
    if (colon == std::string_view::npos)
        return {};
    std::string_view value = line.substr(colon + 1);
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
        value.remove_prefix(1);
    while (!value.empty() && (value.back() == '\r' || value.back() == '\n' || value.back() == ' '))
        value.remove_suffix(1);
    return value;
}

bool HeaderNamed(std::string_view line, std::string_view name)
{
    if (line.size() <= name.size() || line[name.size()] != ':')
        return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char a = line[i] >= 'A' && line[i] <= 'Z' ? static_cast<char>(line[i] - 'A' + 'a') : line[i];
        if (a != name[i])
            return false;
    }
    return true;
}

class CurlTransfer : public HttpTransfer {
public:
    CurlTransfer(const HttpGet& request, HttpReceiver& receiver) : receiver_(receiver)
    {
        easy_ = curl_easy_init();
        multi_ = curl_multi_init();
        if (!easy_ || !multi_) {
            cleanup();
            throw std::runtime_error("libcurl could not start a transfer");
        }
        configure(request);
        curl_multi_add_handle(multi_, easy_);
        thread_ = std::thread([this] { run(); });
    }

    ~CurlTransfer() override
    {
        dropped_.store(true);
        curl_multi_wakeup(multi_);
        thread_.join();
        cleanup();
    }

private:
    void configure(const HttpGet& request)
    {
        curl_easy_setopt(easy_, CURLOPT_URL, request.url.c_str());
        curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(easy_, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(easy_, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(easy_, CURLOPT_MAXREDIRS, static_cast<long>(request.maxRedirects));
        curl_easy_setopt(easy_, CURLOPT_USERAGENT, request.userAgent.c_str());
        curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(easy_, CURLOPT_BUFFERSIZE, kReceiveBufferBytes);
        curl_easy_setopt(easy_, CURLOPT_CONNECTTIMEOUT, static_cast<long>(request.connectTimeout.count()));
        stallTimeout_ = request.stallTimeout;
        // Every check asks the server itself, past any cache on the way.
        headers_ = curl_slist_append(headers_, "Cache-Control: no-cache");
        headers_ = curl_slist_append(headers_, "Pragma: no-cache");
        curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, headers_);
        switch (request.proxy) {
        case ProxyChoice::System:
            break; // libcurl reads http_proxy, https_proxy and no_proxy itself
        case ProxyChoice::Manual:
            proxy_ = request.proxyHost + ":" + std::to_string(request.proxyPort);
            curl_easy_setopt(easy_, CURLOPT_PROXY, proxy_.c_str());
            break;
        case ProxyChoice::Direct:
            // Without both, libcurl would still take a proxy from the environment.
            curl_easy_setopt(easy_, CURLOPT_PROXY, "");
            curl_easy_setopt(easy_, CURLOPT_NOPROXY, "*");
            break;
        }
        curl_easy_setopt(easy_, CURLOPT_HEADERFUNCTION, &CurlTransfer::onHeader);
        curl_easy_setopt(easy_, CURLOPT_HEADERDATA, this);
        curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &CurlTransfer::onBody);
        curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this);
    }

    void run()
    {
        int running = 1;
        bool stalled = false;
        lastArrival_ = Clock::now();
        while (running && !dropped_.load()) {
            if (curl_multi_perform(multi_, &running) != CURLM_OK)
                break;
            // libcurl's own low-speed limit averages over several seconds; a stall is a
            // stall from the moment the last byte came.
            stalled = running && Clock::now() - lastArrival_ > stallTimeout_;
            if (stalled)
                break;
            if (running)
                curl_multi_poll(multi_, nullptr, 0, kIdleWaitMs, nullptr);
        }
        CURLcode result = stalled ? CURLE_OPERATION_TIMEDOUT : CURLE_ABORTED_BY_CALLBACK;
        int left = 0;
        while (CURLMsg* message = curl_multi_info_read(multi_, &left)) {
            if (message->msg == CURLMSG_DONE)
                result = message->data.result;
        }
        if (dropped_.load() || refused_) {
            receiver_.end(HttpEnd::Refused);
            return;
        }
        // An answer without a body, or the last answer of too many redirects.
        if (!headSent_ && responseCode() > 0 && !sendHead()) {
            receiver_.end(HttpEnd::Refused);
            return;
        }
        receiver_.end(result == CURLE_OK ? HttpEnd::Complete : HttpEnd::Failed);
    }

    long responseCode() const
    {
        long code = 0;
        curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &code);
        return code;
    }

    bool sendHead()
    {
        headSent_ = true;
        HttpHead head;
        head.status = static_cast<int>(responseCode());
        curl_off_t length = -1;
        if (curl_easy_getinfo(easy_, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK && length >= 0)
            head.contentLength = static_cast<std::int64_t>(length);
        head.lastModified = lastModified_;
        return receiver_.head(head);
    }

    static std::size_t onHeader(char* data, std::size_t, std::size_t size, void* self)
    {
        auto* transfer = static_cast<CurlTransfer*>(self);
        transfer->lastArrival_ = Clock::now();
        const std::string_view line(data, size);
        // Each answer of a redirect chain starts with its status line; keep the last one's.
        if (line.starts_with("HTTP/"))
            transfer->lastModified_.clear();
        else if (HeaderNamed(line, "last-modified"))
            transfer->lastModified_ = TrimmedHeaderValue(line);
        return size;
    }

    static std::size_t onBody(char* data, std::size_t, std::size_t size, void* self)
    {
        auto* transfer = static_cast<CurlTransfer*>(self);
        transfer->lastArrival_ = Clock::now();
        if (transfer->dropped_.load())
            return CURL_WRITEFUNC_ERROR;
        if (!transfer->headSent_ && !transfer->sendHead()) {
            transfer->refused_ = true;
            return CURL_WRITEFUNC_ERROR;
        }
        if (size > 0 && !transfer->receiver_.body(data, size)) {
            transfer->refused_ = true;
            return CURL_WRITEFUNC_ERROR;
        }
        return size;
    }

    void cleanup()
    {
        if (multi_ && easy_)
            curl_multi_remove_handle(multi_, easy_);
        if (easy_)
            curl_easy_cleanup(easy_);
        if (multi_)
            curl_multi_cleanup(multi_);
        curl_slist_free_all(headers_);
        easy_ = nullptr;
        multi_ = nullptr;
        headers_ = nullptr;
    }

    HttpReceiver& receiver_;
    CURL* easy_ = nullptr;
    CURLM* multi_ = nullptr;
    curl_slist* headers_ = nullptr;
    std::string proxy_;
    std::string lastModified_;
    std::chrono::seconds stallTimeout_{};
    Clock::time_point lastArrival_;
    bool headSent_ = false;
    bool refused_ = false;
    std::atomic<bool> dropped_{false};
    std::thread thread_;
};

} // namespace

CurlHttpClient::CurlHttpClient()
{
    curl_global_init(CURL_GLOBAL_DEFAULT);
}

CurlHttpClient::~CurlHttpClient()
{
    curl_global_cleanup();
}

std::unique_ptr<HttpTransfer> CurlHttpClient::get(const HttpGet& request, HttpReceiver& receiver)
{
    return std::make_unique<CurlTransfer>(request, receiver);
}

} // namespace kv
