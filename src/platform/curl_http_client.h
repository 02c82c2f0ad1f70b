#pragma once
// HttpClient on libcurl: one thread per transfer, driven by a multi handle so that
// dropping the transfer wakes it at once instead of waiting for the network.
#include "platform/http_client.h"

namespace kv {

class CurlHttpClient : public HttpClient {
public:
    CurlHttpClient();
    ~CurlHttpClient() override;
    CurlHttpClient(const CurlHttpClient&) = delete;
    CurlHttpClient& operator=(const CurlHttpClient&) = delete;

    std::unique_ptr<HttpTransfer> get(const HttpGet& request, HttpReceiver& receiver) override;
};

} // namespace kv
