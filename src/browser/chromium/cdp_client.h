#pragma once
// Commands and events of the debugging protocol over one pipe. Commands carry their own
// ids; a flattened target session is named by the sessionId field of each message.
//
// Incoming messages are handled as they are read: answers go to their waiting call or to
// the callback given with the command, events go to the event handler. Neither may wait
// for the browser; they only record things and send further commands.
#include <chrono>
#include <functional>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>
#include <unordered_map>

#include "browser/chromium/pipe_transport.h"

namespace kv {

class CdpClient {
public:
    using Json = nlohmann::json;
    // Called with the answer's result, or nullopt for an error answer or a lost browser.
    using Callback = std::function<void(const std::optional<Json>& result)>;
    using EventHandler =
        std::function<void(const std::string& sessionId, const std::string& method, const Json& params)>;

    CdpClient(PipeTransport& pipe, std::chrono::milliseconds sendTimeout);
    ~CdpClient();

    void setEventHandler(EventHandler handler) { onEvent_ = std::move(handler); }

    // Sends without waiting; the callback (if any) runs when the answer is read.
    bool send(const std::string& method, const Json& params, const std::string& sessionId = {},
              Callback callback = {});

    // Sends and waits for the answer, handling everything else that arrives meanwhile.
    // nullopt on an error answer, on timeout and when the browser is gone.
    std::optional<Json> call(const std::string& method, const Json& params, const std::string& sessionId,
                             std::chrono::milliseconds timeout);

    // Reads and handles whatever has arrived; false once the pipe has closed.
    bool processIncoming();
    bool connected() const { return pipe_.open(); }

private:
    void handle(const std::string& text);
    void failAll();

    PipeTransport& pipe_;
    std::chrono::milliseconds sendTimeout_;
    long nextId_ = 1;
    std::unordered_map<long, Callback> callbacks_;
    EventHandler onEvent_;
};

} // namespace kv
