#include "update/internet_file.h"

#include "update/internet_file_texts.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <unistd.h>
#include <utility>

namespace kv {
namespace {

bool WriteAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

// One transfer. The HTTP client's thread fills it through HttpReceiver and writes the file;
// the user-interface thread reads it when woken and raises the events.
struct InternetFile::Transfer : HttpReceiver {
    enum class Failure { None, TooLarge, WriteFailed };

    Transfer(bool download, std::filesystem::path file, std::int64_t maximumBytes, GuiThread& ui,
             std::weak_ptr<InternetFile*> owner)
        : download(download), file(std::move(file)), maximumBytes(maximumBytes), ui(ui),
          owner(std::move(owner))
    {
    }

    ~Transfer() override
    {
        http.reset(); // the client's thread has made its last call when this returns
        if (fd >= 0)
            ::close(fd);
    }

    // HttpReceiver, on the client's thread.
    bool head(const HttpHead& answer) override
    {
        bool accepted = false;
        {
            std::lock_guard lock(mutex);
            head_ = answer;
            accepted = answer.status == 200 && download && openFile(answer);
        }
        wake();
        return accepted;
    }

    bool body(const char* data, std::size_t size) override
    {
        const std::int64_t total = received.load(std::memory_order_relaxed) + static_cast<std::int64_t>(size);
        if (total > maximumBytes)
            return fail(Failure::TooLarge);
        // Written as the client hands it over (up to its receive buffer at a time): the
        // 2048-byte blocks are only counted here, and raised on the other thread.
        if (!WriteAll(fd, data, size))
            return fail(Failure::WriteFailed);
        received.store(total, std::memory_order_release);
        wake();
        return true;
    }

    void end(HttpEnd outcome) override
    {
        {
            std::lock_guard lock(mutex);
            if (fd >= 0) {
                ::close(fd);
                fd = -1;
            }
            end_ = outcome;
        }
        wake();
    }

    struct State {
        std::optional<HttpHead> head;
        std::optional<HttpEnd> end;
        Failure failure = Failure::None;
        std::int64_t received = 0;
    };
    State state()
    {
        std::lock_guard lock(mutex);
        return {head_, end_, failure_, received.load(std::memory_order_acquire)};
    }

    const bool download;
    const std::filesystem::path file;
    const std::int64_t maximumBytes;
    GuiThread& ui;
    const std::weak_ptr<InternetFile*> owner;
    std::weak_ptr<Transfer> self;

    // The user-interface thread's own.
    bool headHandled = false;
    std::int64_t delivered = 0;

    // Shared. At most one wake-up is queued at a time, however many blocks arrive meanwhile.
    std::atomic<std::int64_t> received{0};
    std::atomic<bool> wakePending{false};

    std::unique_ptr<HttpTransfer> http;

private:
    bool openFile(const HttpHead& answer)
    {
        if (answer.contentLength && *answer.contentLength > maximumBytes) {
            failure_ = Failure::TooLarge;
            return false;
        }
        fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fd < 0)
            failure_ = Failure::WriteFailed;
        return fd >= 0;
    }

    bool fail(Failure failure)
    {
        std::lock_guard lock(mutex);
        failure_ = failure;
        return false;
    }

    void wake()
    {
        if (wakePending.exchange(true))
            return;
        ui.post([owner = owner, self = self] {
            const auto control = owner.lock();
            const auto transfer = self.lock();
            if (!control || !transfer)
                return;
            transfer->wakePending.store(false);
            (*control)->deliverFor(transfer);
        });
    }

    std::mutex mutex;
    std::optional<HttpHead> head_;
    std::optional<HttpEnd> end_;
    Failure failure_ = Failure::None;
    int fd = -1;
};

InternetFile::InternetFile(HttpClient& http, GuiThread& ui, Dialogs& dialogs)
    : http_(http), ui_(ui), dialogs_(dialogs), self_(std::make_shared<InternetFile*>(this))
{
}

InternetFile::~InternetFile()
{
    self_.reset();
    current_.reset();
}

void InternetFile::ConnectURLCheck(Done done)
{
    start(false, std::move(done));
}

void InternetFile::GetFile(Done done)
{
    start(true, std::move(done));
}

void InternetFile::CancelDownload()
{
    if (!current_)
        return;
    cancelRequested_ = true;
    ui_.post([owner = std::weak_ptr<InternetFile*>(self_), transfer = std::weak_ptr<Transfer>(current_)] {
        if (const auto control = owner.lock())
            (*control)->deliverFor(transfer.lock());
    });
}

std::optional<HttpGet> InternetFile::request() const
{
    HttpGet get;
    get.url = URL;
    get.userAgent = std::string(kInternetFileUserAgent);
    get.connectTimeout = ConnectTimeout;
    get.stallTimeout = StallTimeout;
    switch (ConnectType) {
    case kConnectSystemSettings:
        get.proxy = ProxyChoice::System;
        break;
    case kConnectProxy:
        if (ProxyServer.empty() || ProxyPort < 1 || ProxyPort > 65535)
            return std::nullopt;
        get.proxy = ProxyChoice::Manual;
        get.proxyHost = ProxyServer;
        get.proxyPort = ProxyPort;
        break;
    case kConnectDirect:
        get.proxy = ProxyChoice::Direct;
        break;
    default:
        return std::nullopt; // no session can be opened for it
    }
    return get;
}

void InternetFile::start(bool download, Done done)
{
    const std::optional<HttpGet> get = request();
    if (busy() || !get) {
        finishLater(std::move(done), false);
        return;
    }
    auto transfer = std::make_shared<Transfer>(download, std::filesystem::path(LocalFile), MaximumBytes, ui_,
                                               std::weak_ptr<InternetFile*>(self_));
    transfer->self = transfer;
    cancelRequested_ = false;
    done_ = std::move(done);
    current_ = transfer;
    try {
        transfer->http = http_.get(*get, *transfer);
    } catch (const std::exception&) {
        current_.reset();
        finishLater(std::exchange(done_, nullptr), false);
    }
}

void InternetFile::finishLater(Done done, bool result)
{
    ui_.post([owner = std::weak_ptr<InternetFile*>(self_), done = std::move(done), result] {
        if (owner.lock() && done)
            done(result);
    });
}

void InternetFile::deliverFor(const std::shared_ptr<Transfer>& transfer)
{
    if (!transfer || transfer != current_)
        return;
    // A handler that shows a modal dialog lets queued wake-ups run inside it; they only
    // ask the delivery under way to look again.
    if (delivering_) {
        deliverAgain_ = true;
        return;
    }
    delivering_ = true;
    do {
        deliverAgain_ = false;
        deliverStep();
    } while (deliverAgain_ && current_);
    delivering_ = false;
}

void InternetFile::deliverStep()
{
    const std::shared_ptr<Transfer> transfer = current_;
    if (!transfer)
        return;
    const Transfer::State state = transfer->state();
    if (!transfer->headHandled) {
        if (!state.head) {
            if (state.end)
                finish(false); // no answer at all: the check fails without a word
            return;
        }
        transfer->headHandled = true;
        if (state.head->status != 200) {
            finish(false, HttpStatusMessage(state.head->status));
            return;
        }
        fileSize_ = state.head->contentLength.value_or(0);
        lastModified_ = state.head->lastModified;
        if (!transfer->download) {
            finish(true);
            return;
        }
    }
    if (cancelRequested_) {
        cancel();
        return;
    }
    while (transfer->delivered + kBlockSize <= state.received) {
        if (!raiseProgress(*transfer, transfer->delivered + kBlockSize))
            return;
    }
    if (!state.end)
        return;
    if (state.failure == Transfer::Failure::WriteFailed) {
        raiseError(std::string(kCouldNotWriteFile) + LocalFile);
        return;
    }
    if (state.failure == Transfer::Failure::TooLarge || *state.end != HttpEnd::Complete) {
        raiseError(std::string(kCouldNotReadUrl));
        return;
    }
    if (transfer->delivered < state.received && !raiseProgress(*transfer, state.received))
        return;
    // The final read finds nothing more; it is reported like every other read.
    if (!raiseProgress(*transfer, state.received))
        return;
    if (events_)
        events_->DownloadComplete();
    finish(true);
}

bool InternetFile::raiseProgress(Transfer& transfer, std::int64_t total)
{
    transfer.delivered = total;
    if (events_)
        events_->DownloadProgress(total);
    if (current_.get() != &transfer)
        return false;
    if (cancelRequested_) {
        cancel();
        return false;
    }
    return true;
}

void InternetFile::raiseError(const std::string& message)
{
    if (events_)
        events_->DownloadError(message);
    finish(false);
}

void InternetFile::cancel()
{
    const std::shared_ptr<Transfer> stopped = stopTransfer();
    const std::int64_t total = stopped->delivered;
    Done done = std::exchange(done_, nullptr);
    // The file holds what was reported, not what arrived after the last block.
    if (::truncate(stopped->file.c_str(), static_cast<off_t>(total)) != 0) {
        // An unwritable or vanished file has nothing to trim.
    }
    if (events_)
        events_->DownloadCancelled(total);
    if (done)
        done(false);
}

void InternetFile::finish(bool result, std::string_view message)
{
    stopTransfer();
    Done done = std::exchange(done_, nullptr);
    if (!message.empty())
        dialogs_.message(message, {}, Icon::None);
    if (done)
        done(result);
}

std::shared_ptr<InternetFile::Transfer> InternetFile::stopTransfer()
{
    std::shared_ptr<Transfer> stopped = std::exchange(current_, nullptr);
    cancelRequested_ = false;
    if (stopped)
        stopped->http.reset(); // returns once the client's thread has closed the file
    return stopped;
}

} // namespace kv
