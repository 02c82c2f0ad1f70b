#pragma once
// The manual and the automatic update check with the installation that follows. The manifest
// is trusted only with the maker's signature; every file is downloaded and its SHA-256 checked
// before any of them replaces an old one; then all are swapped in and the program restarts.
// Each step runs when the previous download's result arrives on the user-interface thread.
#include "browser/url_launcher.h"
#include "platform/installation_probe.h"
#include "support/dialogs.h"
#include "support/process.h"
#include "update/internet_file.h"
#include "update/update_display.h"
#include "update/update_integrity.h"
#include "update/update_manifest.h"
#include "update/update_schedule.h"
#include "update/version_compare.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kv {

struct UpdateCheckContext {
    InternetFile& download;
    Dialogs& dialogs;
    UrlLauncher& browser; // opens the release's news page
    Process& process;
    const InstallationProbe& installation;
    std::filesystem::path executable; // the running program's file
    ProgramVersion version;
    UpdatePublicKey makerKey;
    std::string automaticManifestAddress;
    std::function<void()> releaseHotkeys; // before the successor starts
};

class UpdateCheck : public AutomaticUpdate, private InternetFileEvents {
public:
    // Caps on what the servers may send for the two small files.
    static constexpr std::int64_t kMaxManifestBytes = 64 * 1024;
    static constexpr std::int64_t kMaxSignatureBytes = 1024;

    explicit UpdateCheck(UpdateCheckContext context);
    ~UpdateCheck() override;

    void attach(UpdateDisplay& display) { display_ = &display; }
    // Nothing is shown any more (the window is going).
    void detach();

    // The manual check against the chosen download site. Ignored while a check runs.
    void cmdManualUpdate_Click(const std::string& downloadSite);

    // AutomaticUpdate
    bool checking() const override { return running_; }
    void RunAutomaticUpdate(std::function<void()> whenNoUpdate) override;

private:
    enum class Mode { Manual, Automatic };

    void begin(Mode mode, const std::string& manifestAddress);
    void fetch(const std::string& url, const std::filesystem::path& file, std::int64_t maximumBytes,
               void (UpdateCheck::*next)(bool));
    void manifestArrived(bool downloaded);
    void signatureArrived(bool downloaded);
    std::optional<UpdateManifest> trustedManifest() const;
    void offer(UpdateManifest manifest);
    void executableArrived(bool downloaded);
    void fetchHelper(std::size_t index);
    void helperArrived(bool downloaded);
    void install();

    bool isGenuine(const std::filesystem::path& file, const Sha256Digest& digest) const;
    // Reports a file that cannot be read.
    bool isProgram(const std::filesystem::path& file) const;
    void manifestMissing();
    void noUpdate(std::string_view manualMessage);
    void abandon(std::string_view message);
    void end();

    std::filesystem::path programFolder() const { return context_.executable.parent_path(); }
    std::filesystem::path manifestFile() const { return manifestFolder_ / "manifest.ini"; }
    std::filesystem::path signatureFile() const { return manifestFolder_ / "manifest.ini.sig"; }
    std::vector<std::filesystem::path> helperTargets() const;
    void removeManifest() const;
    void resetDisplay();

    // InternetFileEvents
    void DownloadComplete() override;
    void DownloadProgress(std::int64_t bytes) override;
    void DownloadError(const std::string& message) override;
    void DownloadCancelled(std::int64_t) override {}

    UpdateCheckContext context_;
    UpdateDisplay* display_ = nullptr;
    bool running_ = false;
    Mode mode_ = Mode::Manual;
    std::string manifestAddress_;
    std::function<void()> whenNoUpdate_;
    bool selfUpdatable_ = false;
    std::filesystem::path manifestFolder_;
    // A private folder for the manifest when the program folder is not ours to write.
    std::optional<std::filesystem::path> privateFolder_;
    std::optional<UpdateManifest> manifest_;
    std::size_t helperIndex_ = 0;
    int shownPercent_ = -1;
    // Results of downloads that arrive after this check object is gone are dropped.
    std::shared_ptr<bool> alive_;
};

} // namespace kv
