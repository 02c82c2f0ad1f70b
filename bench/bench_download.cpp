// A download of 100 MiB from a local server: through InternetFile (libcurl on its own thread,
// every 2048-byte block raised as a progress event on the calling thread) against the curl
// program fetching the same file in the same run.
#include "common/listening_server.h"
#include "common/run_program.h"
#include "common/temp_dir.h"
#include "common/test_gui_thread.h"
#include "platform/curl_http_client.h"
#include "support/dialogs.h"
#include "update/internet_file.h"

#include <benchmark/benchmark.h>
#include <httplib.h>

#include <optional>
#include <thread>

namespace {

// Reports nothing to anybody: the benchmark counts what the events cost, not a window.
class SilentDialogs : public kv::Dialogs {
public:
    void message(std::string_view, std::string_view, kv::Icon) override {}
    Answer ask(std::string_view, kv::Buttons, kv::Icon, std::string_view) override { return Answer::No; }
    std::optional<std::string> input(std::string_view, std::string_view, std::string_view) override
    {
        return std::nullopt;
    }
    std::optional<std::filesystem::path> chooseFolder(std::string_view, const std::filesystem::path&) override
    {
        return std::nullopt;
    }
    void showWizard(kv::FirstRunWizard&) override {}
    void showLogin(kv::LoginDialog&) override {}
    void showCreateLogin(kv::CreateLoginDialog&) override {}
    void showSaveSite(kv::SaveSiteDialog&) override {}
};

// What the Updates area does with each block: a percent of the announced size.
class PercentEvents : public kv::InternetFileEvents {
public:
    explicit PercentEvents(const kv::InternetFile& control) : control_(control) {}
    std::int64_t blocks = 0;
    long long percent = 0;
    bool complete = false;

    void DownloadComplete() override { complete = true; }
    void DownloadProgress(std::int64_t bytes) override
    {
        ++blocks;
        if (control_.FileSize() > 0)
            percent = bytes * 100 / control_.FileSize();
    }
    void DownloadError(const std::string&) override {}
    void DownloadCancelled(std::int64_t) override {}

private:
    const kv::InternetFile& control_;
};

class FileServer {
public:
    explicit FileServer(std::size_t size) : body_(size, 'k')
    {
        server_.Get("/file", [this](const httplib::Request&, httplib::Response& response) {
            response.set_content(body_, "application/octet-stream");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = kv::test::ListenInBackground(server_);
    }
    ~FileServer()
    {
        server_.stop();
        thread_.join();
    }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/file"; }

private:
    std::string body_;
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
};

FileServer& ServerOf(std::size_t size)
{
    static FileServer server(size);
    return server;
}

void BM_GetFile(benchmark::State& state)
{
    const auto size = static_cast<std::size_t>(state.range(0));
    FileServer& server = ServerOf(size);
    kv::test::TempDir folder;
    kv::test::TestGuiThread gui;
    SilentDialogs dialogs;
    kv::CurlHttpClient http;
    kv::InternetFile control(http, gui, dialogs);
    PercentEvents events(control);
    control.setEvents(&events);
    control.URL = server.url();
    control.LocalFile = (folder / "download.bin").string();
    for (auto _ : state) {
        std::optional<bool> result;
        control.GetFile([&result](bool ok) { result = ok; });
        if (!gui.runUntil([&result] { return result.has_value(); }, std::chrono::seconds(120)) || !*result) {
            state.SkipWithError("the download did not complete");
            return;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
    state.counters["events_per_download"] =
        benchmark::Counter(static_cast<double>(events.blocks) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_GetFile)->Arg(104857600)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CurlCliDownload(benchmark::State& state)
{
    const auto size = static_cast<std::size_t>(state.range(0));
    FileServer& server = ServerOf(size);
    kv::test::TempDir folder;
    const std::string target = (folder / "download.bin").string();
    for (auto _ : state) {
        if (kv::test::RunProgram({"curl", "--silent", "--fail", "--output", target, server.url()}) != 0) {
            state.SkipWithError("the curl program is missing or failed (scripts/install-deps installs it)");
            return;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}
BENCHMARK(BM_CurlCliDownload)->Arg(104857600)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
