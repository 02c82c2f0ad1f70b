#include "browser/chromium/cdp_client.h"

#include "pipe_ends.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <unistd.h>

namespace kv {
namespace {

using namespace std::chrono_literals;
using Json = nlohmann::json;

// A client on one end of two pipes; the test plays the browser on the other end.
class CdpClientTest : public ::testing::Test {
protected:
    CdpClientTest()
    {
        client_ = std::make_unique<CdpClient>(*pipes_.transport, 1s);
        client_->setEventHandler(
            [this](const std::string& session, const std::string& method, const Json& params) {
                events_.push_back(session + "|" + method + "|" + params.dump());
            });
    }
    void browserSays(const std::string& message) { pipes_.peerSend(message + '\0'); }
    // What the client wrote, split into messages.
    std::vector<Json> browserHeard()
    {
        std::string bytes(65536, '\0');
        const ssize_t n = read(pipes_.peerRead, bytes.data(), bytes.size());
        bytes.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
        std::vector<Json> messages;
        std::size_t start = 0;
        for (std::size_t end; (end = bytes.find('\0', start)) != std::string::npos; start = end + 1)
            messages.push_back(Json::parse(bytes.substr(start, end - start)));
        return messages;
    }

    PipeEnds pipes_;
    std::vector<std::string> events_;
    std::unique_ptr<CdpClient> client_; // last, so it stops before what it reports into goes
};

TEST_F(CdpClientTest, CallGetsItsOwnAnswerAndEventsMeanwhileAreHandled)
{
    browserSays(R"({"method":"Target.targetCreated","params":{"x":1}})");
    browserSays("not json at all");
    browserSays(R"({"id":99,"result":{"stray":true}})");
    browserSays(R"({"sessionId":"S","method":"Page.loadEventFired","params":{}})");
    browserSays(R"({"id":1,"result":{"answer":42}})");
    const auto result = client_->call("Browser.getVersion", Json::object(), "S", 1s);
    ASSERT_TRUE(result);
    EXPECT_EQ((*result)["answer"], 42);
    EXPECT_EQ(events_,
              (std::vector<std::string>{R"(|Target.targetCreated|{"x":1})", R"(S|Page.loadEventFired|{})"}));
    const auto sent = browserHeard();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0]["id"], 1);
    EXPECT_EQ(sent[0]["method"], "Browser.getVersion");
    EXPECT_EQ(sent[0]["sessionId"], "S");
}

TEST_F(CdpClientTest, ErrorAnswerAndSilenceBothFail)
{
    browserSays(R"({"id":1,"error":{"code":-32000,"message":"no"}})");
    EXPECT_FALSE(client_->call("A.b", Json::object(), {}, 1s));
    EXPECT_FALSE(client_->call("A.c", Json::object(), {}, 100ms));
}

TEST_F(CdpClientTest, ClosedPipeFailsTheWaitingCallAndEveryCallback)
{
    int failed = 0;
    client_->send("A.first", Json::object(), {}, [&](const std::optional<Json>& r) { failed += !r; });
    pipes_.peerClose();
    EXPECT_FALSE(client_->call("A.second", Json::object(), {}, 1s));
    EXPECT_EQ(failed, 1);
    EXPECT_FALSE(client_->connected());
}

} // namespace
} // namespace kv
