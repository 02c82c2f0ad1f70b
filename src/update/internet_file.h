#pragma once
// InternetFile: checks a file on a web server and downloads it into a local file, reporting
// progress in 2048-byte blocks. The transfer runs on the HTTP client's own thread; every
// event and every result is delivered on the user-interface thread, later than the call
// that started it, so the window stays responsive and no handler runs inside another.
#include "platform/gui_thread.h"
#include "platform/http_client.h"
#include "support/dialogs.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

// The control's events, raised on the user-interface thread.
class InternetFileEvents {
public:
    virtual ~InternetFileEvents() = default;
    virtual void DownloadComplete() = 0;
    // The total of bytes read so far, once per block and once more for the final empty read.
    virtual void DownloadProgress(std::int64_t bytes) = 0;
    virtual void DownloadError(const std::string& message) = 0;
    virtual void DownloadCancelled(std::int64_t bytes) = 0;
};

// ConnectType values.
inline constexpr std::int32_t kConnectSystemSettings = 0;
inline constexpr std::int32_t kConnectProxy = 1;
inline constexpr std::int32_t kConnectDirect = 2;

class InternetFile {
public:
    static constexpr std::int64_t kBlockSize = 2048;

    // Called with the result of ConnectURLCheck or GetFile.
    using Done = std::function<void(bool)>;

    InternetFile(HttpClient& http, GuiThread& ui, Dialogs& dialogs);
    ~InternetFile();
    InternetFile(const InternetFile&) = delete;
    InternetFile& operator=(const InternetFile&) = delete;

    // Properties
    std::string URL;
    std::string LocalFile;
    std::int32_t ConnectType = kConnectSystemSettings;
    std::string ProxyServer;
    std::int32_t ProxyPort = 8080;
    // Limits of every transfer: a larger body is refused, and the waits end it.
    std::int64_t MaximumBytes = 200ll << 20;
    std::chrono::seconds ConnectTimeout{15};
    std::chrono::seconds StallTimeout{30};

    // Content-Length and Last-Modified of the last answer with status 200.
    std::int64_t FileSize() const { return fileSize_; }
    const std::string& LastModified() const { return lastModified_; }

    void setEvents(InternetFileEvents* events) { events_ = events; }

    // True when URL answers with status 200 (and FileSize and LastModified are set). Any
    // other status gives false, after a message box for the statuses that have a text.
    void ConnectURLCheck(Done done);
    // Downloads URL into LocalFile; true only when the whole body was read and written.
    // When the check fails, the result is false and no event is raised.
    void GetFile(Done done);
    // A running GetFile stops after the block being delivered, or at once between blocks.
    void CancelDownload();
    bool busy() const { return current_ != nullptr; }

private:
    struct Transfer;

    std::optional<HttpGet> request() const;
    void start(bool download, Done done);
    void finishLater(Done done, bool result);
    void deliverFor(const std::shared_ptr<Transfer>& transfer);
    void deliverStep();
    // false when the handler ended the transfer (cancelled or replaced it).
    bool raiseProgress(Transfer& transfer, std::int64_t total);
    void raiseError(const std::string& message);
    void cancel();
    // Stops the transfer; shows the message, if any, before the result is given.
    void finish(bool result, std::string_view message = {});
    std::shared_ptr<Transfer> stopTransfer();

    HttpClient& http_;
    GuiThread& ui_;
    Dialogs& dialogs_;
    InternetFileEvents* events_ = nullptr;
    std::shared_ptr<Transfer> current_;
    Done done_;
    bool cancelRequested_ = false;
    bool delivering_ = false;
    bool deliverAgain_ = false;
    std::int64_t fileSize_ = 0;
    std::string lastModified_;
    // Tasks posted to the user-interface thread hold this weakly and do nothing once it is gone.
    std::shared_ptr<InternetFile*> self_;
};

} // namespace kv
