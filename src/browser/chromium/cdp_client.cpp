#include "browser/chromium/cdp_client.h"

#include <memory>
#include <nlohmann/json.hpp>
#include <vector>

namespace kv {

CdpClient::CdpClient(PipeTransport& pipe, std::chrono::milliseconds sendTimeout)
    : pipe_(pipe), sendTimeout_(sendTimeout)
{
}

CdpClient::~CdpClient()
{
    callbacks_.clear();
}

bool CdpClient::send(const std::string& method, const Json& params, const std::string& sessionId,
                     Callback callback)
{
    const long id = nextId_++;
    Json message{{"id", id}, {"method", method}, {"params", params.is_null() ? Json::object() : params}};
    if (!sessionId.empty())
        message["sessionId"] = sessionId;
    if (!pipe_.send(message.dump(-1, ' ', false, Json::error_handler_t::replace), sendTimeout_)) {
        failAll();
        if (callback)
            callback(std::nullopt);
        return false;
    }
    if (callback)
        callbacks_.emplace(id, std::move(callback));
    return true;
}

std::optional<CdpClient::Json> CdpClient::call(const std::string& method, const Json& params,
                                               const std::string& sessionId,
                                               std::chrono::milliseconds timeout)
{
    auto answer = std::make_shared<std::optional<std::optional<Json>>>();
    if (!send(method, params, sessionId, [answer](const std::optional<Json>& result) { *answer = result; }))
        return std::nullopt;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!answer->has_value()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !pipe_.waitReadable(left))
            return std::nullopt; // a late answer finds its callback and is dropped there
        if (!processIncoming())
            break;
    }
    return answer->has_value() ? **answer : std::nullopt;
}

bool CdpClient::processIncoming()
{
    std::vector<std::string> messages;
    const bool open = pipe_.receive(messages);
    for (const auto& text : messages)
        handle(text);
    if (!open)
        failAll();
    return open;
}

void CdpClient::handle(const std::string& text)
{
    Json message = Json::parse(text, nullptr, false);
    if (!message.is_object())
        return;
    if (const auto id = message.find("id"); id != message.end() && id->is_number_integer()) {
        const auto it = callbacks_.find(id->get<long>());
        if (it == callbacks_.end())
            return;
        Callback callback = std::move(it->second);
        callbacks_.erase(it);
        const auto result = message.find("result");
        if (message.contains("error") || result == message.end())
            callback(std::nullopt);
        else
            callback(*result);
        return;
    }
    const auto method = message.find("method");
    if (method == message.end() || !method->is_string() || !onEvent_)
        return;
    const auto params = message.find("params");
    const auto session = message.find("sessionId");
    onEvent_(session != message.end() && session->is_string() ? session->get<std::string>() : std::string(),
             method->get<std::string>(), params != message.end() ? *params : Json::object());
}

void CdpClient::failAll()
{
    auto pending = std::move(callbacks_);
    callbacks_.clear();
    for (auto& [id, callback] : pending)
        callback(std::nullopt);
}

} // namespace kv
