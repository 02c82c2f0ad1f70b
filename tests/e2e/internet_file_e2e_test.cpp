// The download control against real local servers through libcurl: blocks and events, status
// messages, cancel, the three connection types, and servers that misbehave.
#include "common/scoped_env.h"
#include "common/scripted_dialogs.h"
#include "common/temp_dir.h"
#include "common/test_gui_thread.h"
#include "e2e/download_server.h"
#include "platform/curl_http_client.h"
#include "storage/storage_test_files.h"
#include "update/internet_file.h"
#include "update/internet_file_texts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>

namespace kv {
namespace {

using test::DownloadServer;
using test::ScriptedDialogs;
using test::TempDir;
using test::TestGuiThread;

std::string Bytes(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xff);
    return bytes;
}

// Every event as one line, in order; a handler can act on a progress event.
class RecordedEvents : public InternetFileEvents {
public:
    std::vector<std::string> log;
    std::function<void(std::int64_t)> onProgress;

    void DownloadComplete() override { log.emplace_back("complete"); }
    void DownloadProgress(std::int64_t bytes) override
    {
        log.push_back("progress " + std::to_string(bytes));
        if (onProgress)
            onProgress(bytes);
    }
    void DownloadError(const std::string& message) override { log.push_back("error " + message); }
    void DownloadCancelled(std::int64_t bytes) override
    {
        log.push_back("cancelled " + std::to_string(bytes));
    }
};

// A forward proxy: takes absolute-form requests, notes them, and fetches from the origin.
class ForwardProxy {
public:
    ForwardProxy()
    {
        server_.Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
            {
                std::lock_guard lock(mutex_);
                targets_.push_back(request.target);
            }
            const std::string prefix = "http://";
            if (!request.target.starts_with(prefix)) {
                response.status = 400;
                return;
            }
            const std::string rest = request.target.substr(prefix.size());
            const auto slash = rest.find('/');
            httplib::Client origin("http://" + rest.substr(0, slash));
            const auto answer = origin.Get(rest.substr(slash));
            if (!answer) {
                response.status = 502;
                return;
            }
            response.status = answer->status;
            response.set_content(answer->body, "application/octet-stream");
        });
        server_.set_keep_alive_max_count(1);
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = test::ListenInBackground(server_);
    }
    ~ForwardProxy()
    {
        server_.stop();
        thread_.join();
    }
    int port() const { return port_; }
    std::vector<std::string> targets() const
    {
        std::lock_guard lock(mutex_);
        return targets_;
    }

private:
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
    mutable std::mutex mutex_;
    std::vector<std::string> targets_;
};

class InternetFileTest : public ::testing::Test {
protected:
    void SetUp() override { control.setEvents(&events); }

    // Runs GetFile (or the check) to its result; a result that never comes fails the test.
    std::optional<bool> run(const std::string& path, bool download = true)
    {
        control.URL = server.url(path);
        control.LocalFile = (folder / "local.bin").string();
        std::optional<bool> result;
        auto done = [&result](bool ok) { result = ok; };
        const std::size_t logged = events.log.size();
        if (download)
            control.GetFile(done);
        else
            control.ConnectURLCheck(done);
        EXPECT_FALSE(result) << "results come later, on the user-interface thread";
        EXPECT_EQ(events.log.size(), logged) << "events come later, on the user-interface thread";
        EXPECT_TRUE(ui.runUntil([&result] { return result.has_value(); })) << "no result for " << path;
        return result;
    }

    std::filesystem::path local() const { return folder / "local.bin"; }

    DownloadServer server;
    TempDir folder;
    TestGuiThread ui;
    ScriptedDialogs dialogs;
    CurlHttpClient http;
    InternetFile control{http, ui, dialogs};
    RecordedEvents events;
};

TEST_F(InternetFileTest, ReadsInBlocksOf2048ThenReportsTheEmptyReadAndCompletes)
{
    const std::string body = Bytes(5000);
    server.file("/five", body);

    EXPECT_EQ(run("/five"), true);

    EXPECT_EQ(events.log, (std::vector<std::string>{"progress 2048", "progress 4096", "progress 5000",
                                                    "progress 5000", "complete"}));
    EXPECT_EQ(test::FileText(local()), body);
    EXPECT_EQ(control.FileSize(), 5000);
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(InternetFileTest, ABodyOfWholeBlocksAndAnEmptyBodyKeepTheSameRhythm)
{
    server.file("/two-blocks", Bytes(4096));
    server.file("/empty", "");

    EXPECT_EQ(run("/two-blocks"), true);
    EXPECT_EQ(events.log,
              (std::vector<std::string>{"progress 2048", "progress 4096", "progress 4096", "complete"}));

    events.log.clear();
    EXPECT_EQ(run("/empty"), true);
    EXPECT_EQ(events.log, (std::vector<std::string>{"progress 0", "complete"}));
    EXPECT_EQ(std::filesystem::file_size(local()), 0u);
}

TEST_F(InternetFileTest, LargeBodiesArriveWholeWithEveryBlockReported)
{
    const std::string body = Bytes(3 * 1024 * 1024 + 17);
    server.file("/large", body);
    std::int64_t previous = 0;
    bool inOrder = true;
    events.onProgress = [&](std::int64_t bytes) {
        inOrder =
            inOrder && (bytes == previous + InternetFile::kBlockSize || bytes == std::int64_t(body.size()));
        previous = bytes;
    };

    EXPECT_EQ(run("/large"), true);

    EXPECT_TRUE(inOrder);
    EXPECT_EQ(events.log.size(), body.size() / 2048 + 1 + 1 + 1); // blocks, the rest, empty read, complete
    EXPECT_EQ(test::FileText(local()), body);
}

TEST_F(InternetFileTest, AnAnswerOtherThan200ShowsItsTextAndRaisesNoEvent)
{
    const struct {
        int status;
        std::vector<std::string> messages;
    } cases[] = {
        {404, {"Error 404: Not Found"}},
        {503, {"Error 503: Service Unavailable"}},
        {418, {}}, // a status without a text fails silently
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        ScriptedDialogs fresh;
        InternetFile control2{http, ui, fresh};
        control2.setEvents(&events);
        server.status("/s", c.status);
        control2.URL = server.url("/s");
        control2.LocalFile = local().string();
        std::optional<bool> result;
        control2.GetFile([&result](bool ok) { result = ok; });
        ASSERT_TRUE(ui.runUntil([&result] { return result.has_value(); }));

        EXPECT_EQ(result, false);
        EXPECT_EQ(fresh.messages(), c.messages);
        EXPECT_TRUE(events.log.empty());
        EXPECT_FALSE(std::filesystem::exists(local())) << "an error page is never stored";
    }
}

TEST_F(InternetFileTest, TheCheckRecordsSizeAndDateWithoutDownloading)
{
    server.file("/dated", Bytes(1234), "Tue, 16 Jan 2007 10:00:00 GMT");

    EXPECT_EQ(run("/dated", false), true);

    EXPECT_EQ(control.FileSize(), 1234);
    EXPECT_EQ(control.LastModified(), "Tue, 16 Jan 2007 10:00:00 GMT");
    EXPECT_TRUE(events.log.empty());
    EXPECT_FALSE(std::filesystem::exists(local()));
}

TEST_F(InternetFileTest, CancelInAProgressHandlerEndsAfterThatBlock)
{
    server.file("/five", Bytes(5000));
    events.onProgress = [this](std::int64_t) { control.CancelDownload(); };

    EXPECT_EQ(run("/five"), false);

    EXPECT_EQ(events.log, (std::vector<std::string>{"progress 2048", "cancelled 2048"}));
    EXPECT_EQ(std::filesystem::file_size(local()), 2048u) << "the file holds what was reported";
    EXPECT_FALSE(control.busy());
}

TEST_F(InternetFileTest, CancelWhileTheServerIsSilentEndsAtOnce)
{
    server.stallAfter("/slow", Bytes(100), 10000);
    control.URL = server.url("/slow");
    control.LocalFile = local().string();
    std::optional<bool> result;
    control.GetFile([&result](bool ok) { result = ok; });
    control.CancelDownload();

    ASSERT_TRUE(ui.runUntil([&result] { return result.has_value(); }, std::chrono::seconds(10)));
    EXPECT_EQ(result, false);
    EXPECT_EQ(events.log, (std::vector<std::string>{"cancelled 0"}));
}

TEST_F(InternetFileTest, TheManualProxyCarriesTheRequestInAbsoluteForm)
{
    const std::string body = Bytes(3000);
    server.file("/via-proxy", body);
    ForwardProxy proxy;
    control.ConnectType = kConnectProxy;
    control.ProxyServer = "127.0.0.1";
    control.ProxyPort = proxy.port();

    EXPECT_EQ(run("/via-proxy"), true);

    EXPECT_EQ(proxy.targets(), std::vector<std::string>{server.url("/via-proxy")});
    EXPECT_EQ(server.targets(), std::vector<std::string>{"/via-proxy"});
    EXPECT_EQ(test::FileText(local()), body);
}

TEST_F(InternetFileTest, SystemSettingsFollowTheProxyVariablesAndDirectIgnoresThem)
{
    server.file("/f", Bytes(10));
    ForwardProxy proxy;
    const test::ScopedEnv variable("http_proxy", "http://127.0.0.1:" + std::to_string(proxy.port()));
    const test::ScopedEnv noBypass("no_proxy", "");

    control.ConnectType = kConnectSystemSettings;
    EXPECT_EQ(run("/f"), true);
    EXPECT_EQ(proxy.targets().size(), 1u);

    control.ConnectType = kConnectDirect;
    EXPECT_EQ(run("/f"), true);
    EXPECT_EQ(proxy.targets().size(), 1u) << "a direct connection passes no proxy";
    EXPECT_EQ(server.targets().size(), 2u);
}

TEST_F(InternetFileTest, ConnectionsThatCannotBeOpenedFailWithoutARequest)
{
    server.file("/f", Bytes(10));
    for (const auto& [type, proxyServer, port] :
         {std::tuple{7, std::string(), 8080}, std::tuple{kConnectProxy, std::string(), 8080},
          std::tuple{kConnectProxy, std::string("127.0.0.1"), 0}}) {
        control.ConnectType = type;
        control.ProxyServer = proxyServer;
        control.ProxyPort = port;
        EXPECT_EQ(run("/f"), false);
    }
    EXPECT_TRUE(server.targets().empty());
    EXPECT_TRUE(events.log.empty());
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(InternetFileTest, ARedirectLoopEndsWithTheRedirectsText)
{
    server.redirect("/loop", "/loop");

    EXPECT_EQ(run("/loop"), false);

    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"Error 302: Moved Temporarily"});
    EXPECT_TRUE(events.log.empty());
}

TEST_F(InternetFileTest, ARedirectToAFileIsFollowed)
{
    server.file("/moved-here", Bytes(100));
    server.redirect("/old", "/moved-here");

    EXPECT_EQ(run("/old"), true);
    EXPECT_EQ(std::filesystem::file_size(local()), 100u);
}

TEST_F(InternetFileTest, AServerThatStallsIsLeftAfterTheWait)
{
    control.StallTimeout = std::chrono::seconds(1);
    server.stallAfter("/stalls-in-body", Bytes(100), 10000);
    server.stallBeforeAnswer("/never-answers");

    EXPECT_EQ(run("/stalls-in-body"), false);
    EXPECT_EQ(events.log, std::vector<std::string>{"error " + std::string(kCouldNotReadUrl)});

    events.log.clear();
    EXPECT_EQ(run("/never-answers"), false);
    EXPECT_TRUE(events.log.empty()) << "without an answer the check fails silently";
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(InternetFileTest, ABodyBeyondTheLimitIsRefused)
{
    control.MaximumBytes = 10000;
    server.file("/announced", Bytes(10001));
    server.unsized("/unannounced", Bytes(30000));

    for (const char* path : {"/announced", "/unannounced"}) {
        SCOPED_TRACE(path);
        events.log.clear();
        EXPECT_EQ(run(path), false);
        ASSERT_FALSE(events.log.empty());
        EXPECT_EQ(events.log.back(), "error " + std::string(kCouldNotReadUrl));
        EXPECT_TRUE(!std::filesystem::exists(local()) || std::filesystem::file_size(local()) <= 10000u);
    }
}

TEST_F(InternetFileTest, ServersThatCannotBeReachedFailSilently)
{
    control.URL = "http://127.0.0.1:1/nothing-listens-here";
    control.LocalFile = local().string();
    std::optional<bool> result;
    control.GetFile([&result](bool ok) { result = ok; });
    ASSERT_TRUE(ui.runUntil([&result] { return result.has_value(); }));

    EXPECT_EQ(result, false);
    EXPECT_TRUE(events.log.empty());
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(InternetFileTest, ALocalFileThatCannotBeWrittenIsReported)
{
    server.file("/f", Bytes(10));
    control.URL = server.url("/f");
    control.LocalFile = (folder / "no-such-folder" / "f").string();
    std::optional<bool> result;
    control.GetFile([&result](bool ok) { result = ok; });
    ASSERT_TRUE(ui.runUntil([&result] { return result.has_value(); }));

    EXPECT_EQ(result, false);
    EXPECT_EQ(events.log,
              std::vector<std::string>{"error " + std::string(kCouldNotWriteFile) + control.LocalFile});
}

TEST_F(InternetFileTest, ASecondRequestWhileBusyIsRefusedAndTheFirstGoesOn)
{
    server.file("/f", Bytes(5000));
    control.URL = server.url("/f");
    control.LocalFile = local().string();
    std::optional<bool> first, second;
    control.GetFile([&first](bool ok) { first = ok; });
    control.GetFile([&second](bool ok) { second = ok; });
    ASSERT_TRUE(ui.runUntil([&] { return first.has_value() && second.has_value(); }));

    EXPECT_EQ(first, true);
    EXPECT_EQ(second, false);
}

TEST_F(InternetFileTest, DroppingTheControlMidTransferStopsIt)
{
    server.stallAfter("/slow", Bytes(100), 10000);
    auto dropped = std::make_unique<InternetFile>(http, ui, dialogs);
    dropped->URL = server.url("/slow");
    dropped->LocalFile = local().string();
    bool called = false;
    dropped->GetFile([&called](bool) { called = true; });
    ASSERT_TRUE(ui.runUntil([this] { return !server.targets().empty(); }, std::chrono::seconds(10)));

    dropped.reset();
    ui.runPending();

    EXPECT_FALSE(called) << "no result reaches a caller after the control is gone";
}

} // namespace
} // namespace kv
