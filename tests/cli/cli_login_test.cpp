// login against a local web server with the real browser: by the tool's own browser when
// the program does not run, and by the program's when it does.
#include "cli/cli_world.h"
#include "common/manual_update_checks.h"
#include "e2e/local_server.h"
#include "e2e/login_pages.h"
#include "gui/x_session.h"

#include <nlohmann/json.hpp>

namespace kv::test {
namespace {

const std::filesystem::path kProgram = std::filesystem::path(KV_BINARY_DIR) / "app" / "kestrelyn-vormaplex";
constexpr auto kBrowserLimit = std::chrono::seconds(60);

class CliLogin : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (access("/usr/lib/chromium/chromium", X_OK) != 0)
            GTEST_SKIP() << "Chromium is not installed";
        if (!ProgramOnPath("Xvfb"))
            GTEST_SKIP() << "Xvfb is not installed";
        display_ = std::make_unique<XvfbDisplay>(1280, 800);
        ASSERT_TRUE(display_->ready()) << "Xvfb did not start";
        world.environment()["DISPLAY"] = display_->name();
        ASSERT_NO_FATAL_FAILURE(world.initOpenProfile({"--no-categories"}));
        UseManualUpdateChecks(world.home() / ".config");
        server.page("/login", kPlainLogin);
        const auto csv = world.home() / "logins.csv";
        ASSERT_NO_FATAL_FAILURE(CliWorld::WriteFile(csv, "name,url,username,password\nLocal," +
                                                             server.url("/login") + ",alice,s3cret word\n"));
        ASSERT_EQ(world.run({"import", csv.string()}).exitCode, 0);
    }

    // "Amount of times used" of the site, as the tool shows it.
    std::string timesUsed() const
    {
        const CliResult shown = world.run({"show", "Local", "--json"});
        const auto document = nlohmann::json::parse(shown.out, nullptr, false);
        return document.is_discarded() ? "<unreadable>" : document["fields"][11]["value"].get<std::string>();
    }

    void expectTheFormPostedOnce()
    {
        ASSERT_TRUE(WaitFor([&] { return server.count("POST", "/session") >= 1; }, kBrowserLimit))
            << "the login form was never submitted";
        EXPECT_EQ(server.lastBody("POST", "/session"), "user=alice&pass=s3cret+word&go=Sign+in");
        EXPECT_TRUE(WaitFor([&] { return timesUsed() == "1"; }, kBrowserLimit)) << timesUsed();
        EXPECT_EQ(server.count("POST", "/session"), 1u);
    }

    std::map<std::string, std::string> environment() { return world.environment(); }

    std::unique_ptr<XvfbDisplay> display_;
    LocalServer server;
    CliWorld world;
};

TEST_F(CliLogin, OwnBrowserFillsAndSubmitsTheFormAndCountsIt)
{
    ChildProcess tool({kCliBinary.string(), "login", "Local"}, environment(), world.home() / "tool.log");
    ASSERT_TRUE(tool.started());
    expectTheFormPostedOnce();
    EXPECT_TRUE(tool.running()) << "the tool left before its browser was closed";
}

TEST_F(CliLogin, RunningProgramDoesTheLoginForTheTool)
{
    auto env = environment();
    env["QT_QPA_PLATFORM"] = "offscreen";
    ChildProcess program({kProgram.string()}, env, world.home() / "program.log");
    ASSERT_TRUE(program.started());
    ASSERT_TRUE(
        WaitFor([&] { return std::filesystem::exists(world.home() / "run" / "kestrelyn-vormaplex.socket"); },
                std::chrono::seconds(30)))
        << "the program never listened: " << CliWorld::ReadFile(world.home() / "program.log");

    const CliResult asked = world.run({"login", "Local"});
    ASSERT_EQ(asked.exitCode, 0) << asked.err;
    EXPECT_NE(asked.out.find("program's browser"), std::string::npos) << asked.out;
    expectTheFormPostedOnce();
    EXPECT_TRUE(program.running());
}

} // namespace
} // namespace kv::test
