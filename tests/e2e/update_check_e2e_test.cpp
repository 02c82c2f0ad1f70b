// The whole update against a local server and a temporary install folder: a signed manifest,
// real downloads through libcurl, the files swapped in, and the restart asked of the process.
#include "common/ending_process.h"
#include "common/scripted_dialogs.h"
#include "common/temp_dir.h"
#include "common/test_gui_thread.h"
#include "common/update_signing.h"
#include "e2e/download_server.h"
#include "platform/curl_http_client.h"
#include "platform/installation_probe.h"
#include "storage/storage_test_files.h"
#include "update/internet_file_texts.h"
#include "update/update_check.h"
#include "update/update_installation.h"
#include "update/update_servers.h"
#include "update/update_texts.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

namespace kv {
namespace {

using test::ProgramEnded;

const std::string kProgram = "kestrelyn-vormaplex";

class RecordingBrowser : public UrlLauncher {
public:
    std::vector<std::string> opened;
    void LaunchBrowser(std::string_view address) override { opened.emplace_back(address); }
};

class RecordingDisplay : public UpdateDisplay {
public:
    std::string caption = "own caption";
    std::string status;
    std::string downloadText;
    bool progressShown = false;
    int progress = -1;
    std::vector<int> percents;

    void setCaption(std::string_view text) override { caption = text; }
    void restoreCaption() override { caption = "own caption"; }
    void setStatus(std::string_view text) override { status = text; }
    void setDownloadText(std::string_view text) override { downloadText = text; }
    void showProgress(bool shown) override { progressShown = shown; }
    void setProgress(int percent) override
    {
        progress = percent;
        percents.push_back(percent);
    }
    bool windowVisible() const override { return true; }
};

// What a release puts on the server.
struct Release {
    std::string version = "2.1.0";
    std::string program; // the new executable's bytes
    std::vector<std::pair<std::string, std::string>> helpers;
    std::string news = "http://news.example/2.1";
    std::string extraLines;
};

// Public: the table-driven cases arrange the fixture through lambdas.
class UpdateCheckE2E : public ::testing::Test {
public:
    void SetUp() override
    {
        std::filesystem::copy_file("/bin/true", executable());
        chmod(executable().c_str(), 0755);
        oldProgram = test::FileText(executable());
        check.attach(display);
    }
    void TearDown() override { chmod(install.path().c_str(), 0755); }

    std::filesystem::path executable() const { return install / kProgram; }
    std::string manifestPath() const { return "/UPDATE/KESTRELYN_VORMAPLEX/manifest.txt"; }

    // Signs the release's manifest with key (the trusted test key unless given) and serves it.
    void publish(const Release& release, std::optional<std::filesystem::path> key = std::nullopt,
                 bool signedManifest = true)
    {
        std::string manifest = "[Update]\nVersion=" + release.version + "\nSource=" + server.url("/files/") +
                               "\nFileCount=" + std::to_string(release.helpers.size()) + "\n";
        std::vector<std::filesystem::path> files{staging / kProgram};
        test::WriteFileText(staging / kProgram, release.program);
        server.file("/files/" + kProgram, release.program);
        for (std::size_t i = 0; i < release.helpers.size(); ++i) {
            const auto& [name, bytes] = release.helpers[i];
            manifest += "File" + std::to_string(i + 1) + "=" + name + "\n";
            test::WriteFileText(staging / name, bytes);
            files.push_back(staging / name);
            server.file("/files/" + name, bytes);
        }
        manifest += "News=" + release.news + "\n" + release.extraLines;
        test::WriteFileText(staging / "manifest.ini", manifest);
        test::SignManifest(staging / "manifest.ini", files, key.value_or(test::TestSigningKey()));
        server.file(manifestPath(), test::FileText(staging / "manifest.ini"));
        if (signedManifest)
            server.file(manifestPath() + ".sig", test::FileText(staging / "manifest.ini.sig"));
    }

    Release newer() const
    {
        Release release;
        release.program = test::FileText("/bin/false");
        release.helpers = {{"helper.dat", "helper contents"}, {"lib.so", "library"}};
        return release;
    }

    // Runs the manual check to its end; true when the program ended for its restart.
    bool runManual()
    {
        check.cmdManualUpdate_Click(server.host());
        try {
            EXPECT_TRUE(gui.runUntil([this] { return !check.checking(); })) << "the check never ended";
        } catch (const ProgramEnded&) {
            return true;
        }
        return false;
    }

    // The automatic check's server path serves the release published last.
    void publishForAutomaticCheck()
    {
        server.file("/UPDATES/KESTRELYN_VORMAPLEX/manifest.txt", test::FileText(staging / "manifest.ini"));
        server.file("/UPDATES/KESTRELYN_VORMAPLEX/manifest.txt.sig",
                    test::FileText(staging / "manifest.ini.sig"));
    }

    // A manual check of its own that talks to asked, run to its end; what it showed.
    RecordingDisplay runOwnCheck(test::ScriptedDialogs& asked)
    {
        InternetFile control{http, gui, asked};
        UpdateCheck run{{control,
                         asked,
                         browser,
                         process,
                         installation,
                         executable(),
                         {2, 0, 0},
                         test::TestUpdateKey(),
                         "",
                         {}}};
        RecordingDisplay shown;
        run.attach(shown);
        run.cmdManualUpdate_Click(server.host());
        EXPECT_TRUE(gui.runUntil([&run] { return !run.checking(); }));
        run.detach();
        return shown;
    }

    void expectNothingReplaced()
    {
        EXPECT_EQ(test::FileText(executable()), oldProgram);
        EXPECT_FALSE(std::filesystem::exists(BackupPathFor(executable())));
        for (const auto& entry : std::filesystem::directory_iterator(install.path()))
            EXPECT_NE(entry.path().extension(), ".new") << "a download was left behind: " << entry.path();
        EXPECT_TRUE(process.started.empty());
    }

    test::DownloadServer server;
    test::TempDir install;
    test::TempDir staging;
    std::string oldProgram;
    test::TestGuiThread gui;
    test::ScriptedDialogs dialogs;
    CurlHttpClient http;
    InternetFile download{http, gui, dialogs};
    RecordingBrowser browser;
    test::EndingProcess process;
    LinuxInstallationProbe installation;
    RecordingDisplay display;
    std::vector<std::string> order;
    UpdateCheck check{{download,
                       dialogs,
                       browser,
                       process,
                       installation,
                       install / kProgram,
                       {2, 0, 0},
                       test::TestUpdateKey(),
                       AutomaticManifestAddress(server.host()),
                       [this] {
                           order.push_back("hotkeys released with " + std::to_string(process.started.size()) +
                                           " programs started");
                       }}};
};

TEST_F(UpdateCheckE2E, ANewerSignedReleaseIsInstalledAndTheProgramRestarts)
{
    const Release release = newer();
    publish(release);
    dialogs.answer(Dialogs::Answer::Yes);

    ASSERT_TRUE(runManual());

    EXPECT_EQ(dialogs.asked(), std::vector<std::string>{std::string(kInstallQuestion)});
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{std::string(kUpdateSuccessful)});
    EXPECT_EQ(test::FileText(executable()), release.program);
    EXPECT_EQ(test::FileText(BackupPathFor(executable())), oldProgram);
    EXPECT_EQ(test::FileText(install / "helper.dat"), "helper contents");
    EXPECT_EQ(test::FileText(install / "lib.so"), "library");
    EXPECT_TRUE(std::filesystem::status(executable()).permissions() == std::filesystem::perms(0755));
    EXPECT_FALSE(std::filesystem::exists(install / "manifest.ini"));
    EXPECT_FALSE(std::filesystem::exists(install / "manifest.ini.sig"));
    EXPECT_EQ(browser.opened, std::vector<std::string>{release.news});
    EXPECT_EQ(order, std::vector<std::string>{"hotkeys released with 0 programs started"});
    ASSERT_EQ(process.started.size(), 1u);
    EXPECT_EQ(process.started[0].executable, executable());
    EXPECT_EQ(process.started[0].arguments, (std::vector<std::string>{"/updaterestart", "4242"}));
    EXPECT_EQ(display.status, kFinishingStatus);
    EXPECT_EQ(display.percents.back(), 100);
}

TEST_F(UpdateCheckE2E, TheAutomaticCheckInstallsWithoutAskingOrStatusTexts)
{
    const Release release = newer();
    publish(release);
    publishForAutomaticCheck();
    bool rearmed = false;

    check.RunAutomaticUpdate([&rearmed] { rearmed = true; });
    EXPECT_THROW(gui.runUntil([this] { return !check.checking(); }), ProgramEnded);

    EXPECT_TRUE(dialogs.asked().empty());
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{std::string(kUpdateSuccessful)});
    EXPECT_EQ(display.status, "");
    EXPECT_EQ(test::FileText(executable()), release.program);
    EXPECT_FALSE(rearmed);
}

TEST_F(UpdateCheckE2E, NothingIsReplacedWhenAnythingFailsItsCheck)
{
    const std::string invalid(kInvalidExecutable);
    const std::string missing(kManifestNotFound);
    const struct {
        const char* what;
        std::function<void(UpdateCheckE2E&)> arrange;
        std::vector<std::string> messages;
    } cases[] = {
        {"a tampered program",
         [](UpdateCheckE2E& t) {
             t.publish(t.newer());
             t.server.file("/files/" + kProgram, test::FileText("/bin/false") + "tampered");
         },
         {invalid}},
        {"a tampered helper",
         [](UpdateCheckE2E& t) {
             t.publish(t.newer());
             t.server.file("/files/lib.so", "tampered library");
         },
         {invalid}},
        {"a signed text file instead of a program",
         [](UpdateCheckE2E& t) {
             Release release = t.newer();
             release.program = "#!/bin/sh\nrm -rf ~\n";
             t.publish(release);
         },
         {invalid}},
        {"a missing helper",
         [](UpdateCheckE2E& t) {
             t.publish(t.newer());
             t.server.status("/files/helper.dat", 404);
         },
         {"Error 404: Not Found", std::string(kHelperFilesFailed)}},
        {"a missing program",
         [](UpdateCheckE2E& t) {
             t.publish(t.newer());
             t.server.status("/files/" + kProgram, 403);
         },
         {"Error 403: Forbidden", std::string(kMainFileFailed)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::ScriptedDialogs fresh{Dialogs::Answer::Yes};
        c.arrange(*this);
        const RecordingDisplay shown = runOwnCheck(fresh);

        EXPECT_EQ(fresh.messages(), c.messages);
        expectNothingReplaced();
        EXPECT_FALSE(std::filesystem::exists(install / "helper.dat"));
        EXPECT_NE(shown.caption, "own caption") << "the caption keeps the check's text after a failure";
        EXPECT_FALSE(shown.progressShown);
    }
}

TEST_F(UpdateCheckE2E, AManifestWithoutTheMakersSignatureIsTreatedAsMissing)
{
    const std::string missing(kManifestNotFound);
    const struct {
        const char* what;
        std::function<void(UpdateCheckE2E&)> arrange;
        std::vector<std::string> messages;
    } cases[] = {
        {"no signature",
         [](UpdateCheckE2E& t) { t.publish(t.newer(), std::nullopt, false); },
         {"Error 404: Not Found", missing}},
        {"another key",
         [](UpdateCheckE2E& t) { t.publish(t.newer(), test::MakeUntrustedKey(t.staging.path())); },
         {missing}},
        {"a manifest changed after signing",
         [](UpdateCheckE2E& t) {
             t.publish(t.newer());
             t.server.file(t.manifestPath(),
                           test::FileText(t.staging / "manifest.ini") + "[Update]\nVersion=9\n");
         },
         {missing}},
        {"a signed manifest reaching outside the folder",
         [](UpdateCheckE2E& t) {
             Release release = t.newer();
             release.helpers = {{"evil", "x"}};
             t.publish(release);
             std::string text = test::FileText(t.staging / "manifest.ini");
             text.replace(text.find("File1=evil"), 10, "File1=../x");
             test::WriteFileText(t.staging / "manifest.ini", text);
             test::SignManifest(t.staging / "manifest.ini", {t.staging / kProgram});
             t.server.file(t.manifestPath(), test::FileText(t.staging / "manifest.ini"));
             t.server.file(t.manifestPath() + ".sig", test::FileText(t.staging / "manifest.ini.sig"));
         },
         {missing}},
        {"no manifest on the server", [](UpdateCheckE2E&) {}, {"Error 404: Not Found", missing}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::ScriptedDialogs asked;
        server.status(manifestPath(), 404);
        server.status(manifestPath() + ".sig", 404);
        c.arrange(*this);
        const RecordingDisplay shown = runOwnCheck(asked);

        EXPECT_EQ(asked.messages(), c.messages);
        EXPECT_TRUE(asked.asked().empty()) << "nothing is offered";
        EXPECT_EQ(shown.caption, "own caption");
        expectNothingReplaced();
    }
}

TEST_F(UpdateCheckE2E, NoNewerReleaseOrADeclinedOneCleansUp)
{
    Release same = newer();
    same.version = "2.0.0";
    publish(same);
    EXPECT_FALSE(runManual());
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{std::string(kNoUpdates)});

    Release textuallyOlder = newer();
    textuallyOlder.version = "1.10.0"; // "1100" sorts before "200"
    publish(textuallyOlder);
    EXPECT_FALSE(runManual());

    publish(newer());
    dialogs.answer(Dialogs::Answer::No);
    EXPECT_FALSE(runManual());

    EXPECT_EQ(dialogs.messages(), (std::vector<std::string>{std::string(kNoUpdates), std::string(kNoUpdates),
                                                            std::string(kNotInstalled)}));
    EXPECT_FALSE(std::filesystem::exists(install / "manifest.ini"));
    EXPECT_EQ(display.caption, "own caption");
    EXPECT_FALSE(display.progressShown);
    expectNothingReplaced();
}

TEST_F(UpdateCheckE2E, TheAutomaticCheckSaysNothingWhenThereIsNoUpdateAndRearms)
{
    Release same = newer();
    same.version = "2.0.0";
    publish(same);
    publishForAutomaticCheck();
    bool rearmed = false;

    check.RunAutomaticUpdate([&rearmed] { rearmed = true; });
    ASSERT_TRUE(gui.runUntil([this] { return !check.checking(); }));

    EXPECT_TRUE(dialogs.messages().empty());
    EXPECT_TRUE(rearmed);
    EXPECT_FALSE(std::filesystem::exists(install / "manifest.ini"));
}

TEST_F(UpdateCheckE2E, APackageManagedInstallationIsOnlyToldAboutTheUpdate)
{
    publish(newer());
    const auto listing = [this] {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(install.path()))
            names.push_back(entry.path().filename().string());
        return names;
    };
    const auto before = listing();
    chmod(install.path().c_str(), 0555);

    EXPECT_FALSE(runManual());

    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{std::string(kUpdateByPackageManager)});
    EXPECT_TRUE(dialogs.asked().empty());
    EXPECT_EQ(listing(), before);
    EXPECT_EQ(test::FileText(executable()), oldProgram);
    EXPECT_EQ(server.targets().size(), 2u) << "only the manifest and its signature were fetched";
}

TEST_F(UpdateCheckE2E, AClickWhileACheckRunsIsIgnored)
{
    publish(newer());
    dialogs.answer(Dialogs::Answer::No);

    check.cmdManualUpdate_Click(server.host());
    check.cmdManualUpdate_Click(server.host());
    ASSERT_TRUE(gui.runUntil([this] { return !check.checking(); }));

    EXPECT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(server.targets().size(), 2u);
}

} // namespace
} // namespace kv
