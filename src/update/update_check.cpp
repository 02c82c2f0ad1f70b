#include "update/update_check.h"

#include "startup/startup_texts.h"
#include "update/executable_check.h"
#include "update/update_installation.h"
#include "update/update_servers.h"
#include "update/update_texts.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace kv {
namespace {

// Every file of a release is far below this.
constexpr std::int64_t kMaxUpdateFileBytes = 200ll << 20;

std::optional<std::string> ReadSmallFile(const std::filesystem::path& file, std::int64_t maximumBytes)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string text(static_cast<std::size_t>(maximumBytes) + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.bad() || in.gcount() > maximumBytes)
        return std::nullopt;
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

std::optional<std::filesystem::path> MakePrivateFolder()
{
    std::string pattern =
        (std::filesystem::temp_directory_path() / "kestrelyn-vormaplex-update-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        return std::nullopt;
    return std::filesystem::path(pattern);
}

class NoDisplay : public UpdateDisplay {
public:
    void setCaption(std::string_view) override {}
    void restoreCaption() override {}
    void setStatus(std::string_view) override {}
    void setDownloadText(std::string_view) override {}
    void showProgress(bool) override {}
    void setProgress(int) override {}
    bool windowVisible() const override { return false; }
};

NoDisplay gNoDisplay;

} // namespace

UpdateCheck::UpdateCheck(UpdateCheckContext context)
    : context_(std::move(context)), display_(&gNoDisplay), alive_(std::make_shared<bool>(true))
{
    context_.download.setEvents(this);
}

UpdateCheck::~UpdateCheck()
{
    context_.download.setEvents(nullptr);
    if (privateFolder_) {
        std::error_code ignored;
        std::filesystem::remove_all(*privateFolder_, ignored);
    }
}

void UpdateCheck::detach()
{
    display_ = &gNoDisplay;
}

void UpdateCheck::cmdManualUpdate_Click(const std::string& downloadSite)
{
    if (running_)
        return;
    begin(Mode::Manual, ManualManifestAddress(downloadSite));
}

void UpdateCheck::RunAutomaticUpdate(std::function<void()> whenNoUpdate)
{
    if (running_)
        return;
    whenNoUpdate_ = std::move(whenNoUpdate);
    begin(Mode::Automatic, context_.automaticManifestAddress);
}

void UpdateCheck::begin(Mode mode, const std::string& manifestAddress)
{
    running_ = true;
    mode_ = mode;
    manifestAddress_ = manifestAddress;
    display_->setCaption(kCheckingCaption);
    display_->showProgress(true);
    if (mode_ == Mode::Manual)
        display_->setStatus(kCheckingStatus);
    // A folder the program may not write still gets its check: the manifest goes elsewhere.
    selfUpdatable_ = context_.installation.selfUpdatable(context_.executable);
    if (selfUpdatable_) {
        manifestFolder_ = programFolder();
    } else if (auto folder = MakePrivateFolder()) {
        privateFolder_ = manifestFolder_ = *folder;
    } else {
        manifestMissing();
        return;
    }
    fetch(manifestAddress_, manifestFile(), kMaxManifestBytes, &UpdateCheck::manifestArrived);
}

void UpdateCheck::fetch(const std::string& url, const std::filesystem::path& file, std::int64_t maximumBytes,
                        void (UpdateCheck::*next)(bool))
{
    InternetFile& download = context_.download;
    download.URL = url;
    download.LocalFile = file.string();
    download.MaximumBytes = maximumBytes;
    shownPercent_ = -1;
    download.GetFile([this, next, alive = std::weak_ptr<bool>(alive_)](bool downloaded) {
        if (alive.lock())
            (this->*next)(downloaded);
    });
}

void UpdateCheck::manifestArrived(bool downloaded)
{
    if (!downloaded) {
        manifestMissing();
        return;
    }
    fetch(SignatureAddress(manifestAddress_), signatureFile(), kMaxSignatureBytes,
          &UpdateCheck::signatureArrived);
}

void UpdateCheck::signatureArrived(bool downloaded)
{
    std::optional<UpdateManifest> manifest;
    if (downloaded)
        manifest = trustedManifest();
    if (!manifest) {
        manifestMissing();
        return;
    }
    offer(std::move(*manifest));
}

std::optional<UpdateManifest> UpdateCheck::trustedManifest() const
{
    // The bytes whose signature is checked are the bytes that are read, never the file again.
    const auto text = ReadSmallFile(manifestFile(), kMaxManifestBytes);
    const auto signature = ReadSmallFile(signatureFile(), kMaxSignatureBytes);
    if (!text || !signature || !SignatureMatches(*text, *signature, context_.makerKey))
        return std::nullopt;
    auto manifest = ReadUpdateManifest(*text, context_.executable.filename().string());
    if (!manifest)
        return std::nullopt;
    return std::move(*manifest);
}

void UpdateCheck::offer(UpdateManifest manifest)
{
    if (!UpdateOffered(manifest.version, context_.version)) {
        noUpdate(kNoUpdates);
        return;
    }
    if (!selfUpdatable_) {
        context_.dialogs.message(kUpdateByPackageManager);
        noUpdate({});
        return;
    }
    if (mode_ == Mode::Manual) {
        if (context_.dialogs.ask(kInstallQuestion, Buttons::YesNo, Icon::Exclamation) !=
            Dialogs::Answer::Yes) {
            noUpdate(kNotInstalled);
            return;
        }
        display_->setStatus(kDownloadingStatus);
        display_->setStatus(kDownloadingMainStatus);
    }
    display_->showProgress(true);
    manifest_ = std::move(manifest);
    fetch(manifest_->source + context_.executable.filename().string(), DownloadPathFor(context_.executable),
          kMaxUpdateFileBytes, &UpdateCheck::executableArrived);
}

void UpdateCheck::executableArrived(bool downloaded)
{
    if (!downloaded) {
        abandon(kMainFileFailed);
        return;
    }
    const std::filesystem::path file = DownloadPathFor(context_.executable);
    if (!isGenuine(file, manifest_->executableDigest) || !isProgram(file)) {
        abandon(kInvalidExecutable);
        return;
    }
    fetchHelper(0);
}

void UpdateCheck::fetchHelper(std::size_t index)
{
    if (index == manifest_->helpers.size()) {
        install();
        return;
    }
    helperIndex_ = index;
    const HelperFile& helper = manifest_->helpers[index];
    fetch(manifest_->source + helper.name, DownloadPathFor(programFolder() / helper.name),
          kMaxUpdateFileBytes, &UpdateCheck::helperArrived);
}

void UpdateCheck::helperArrived(bool downloaded)
{
    if (!downloaded) {
        abandon(kHelperFilesFailed);
        return;
    }
    const HelperFile& helper = manifest_->helpers[helperIndex_];
    if (!isGenuine(DownloadPathFor(programFolder() / helper.name), helper.digest)) {
        abandon(kInvalidExecutable);
        return;
    }
    fetchHelper(helperIndex_ + 1);
}

void UpdateCheck::install()
{
    if (mode_ == Mode::Manual)
        display_->setStatus(kInstallingStatus);
    if (InstallUpdate(context_.executable, helperTargets())) {
        abandon(kInstallFailed);
        return;
    }
    if (mode_ == Mode::Manual)
        display_->setStatus(kFinishingStatus);
    context_.dialogs.message(kUpdateSuccessful);
    if (!manifest_->news.empty())
        context_.browser.LaunchBrowser(manifest_->news);
    removeManifest();
    if (context_.releaseHotkeys)
        context_.releaseHotkeys();
    context_.process.startProgram(context_.executable, {std::string(kUpdateRestartSwitch),
                                                        std::to_string(context_.process.processId())});
    context_.process.endProgram();
}

bool UpdateCheck::isGenuine(const std::filesystem::path& file, const Sha256Digest& digest) const
{
    const auto actual = Sha256OfFile(file);
    return actual && *actual == digest;
}

bool UpdateCheck::isProgram(const std::filesystem::path& file) const
{
    const auto machine = ThisMachine();
    const auto verdict =
        machine ? IsExecutableFor(file, *machine) : tl::expected<bool, std::error_code>(false);
    if (!verdict) {
        context_.dialogs.message(std::string(kFileErrorPrefix) + std::to_string(verdict.error().value()) +
                                 "\n" + verdict.error().message());
        return false;
    }
    return *verdict;
}

void UpdateCheck::manifestMissing()
{
    context_.dialogs.message(kManifestNotFound);
    display_->restoreCaption();
    end();
}

void UpdateCheck::noUpdate(std::string_view manualMessage)
{
    if (mode_ == Mode::Manual && !manualMessage.empty())
        context_.dialogs.message(manualMessage);
    resetDisplay();
    removeManifest();
    display_->restoreCaption();
    std::function<void()> rearm = mode_ == Mode::Automatic ? std::move(whenNoUpdate_) : nullptr;
    end();
    if (rearm)
        rearm();
}

// The caption keeps the checking text and the manifest stays where it is; no download is kept.
void UpdateCheck::abandon(std::string_view message)
{
    resetDisplay();
    context_.dialogs.message(message);
    RemoveDownloads(context_.executable, helperTargets());
    end();
}

void UpdateCheck::end()
{
    running_ = false;
    whenNoUpdate_ = nullptr;
    manifest_.reset();
    if (privateFolder_) {
        std::error_code ignored;
        std::filesystem::remove_all(*privateFolder_, ignored);
        privateFolder_.reset();
    }
}

std::vector<std::filesystem::path> UpdateCheck::helperTargets() const
{
    std::vector<std::filesystem::path> targets;
    if (manifest_) {
        for (const HelperFile& helper : manifest_->helpers)
            targets.push_back(programFolder() / helper.name);
    }
    return targets;
}

void UpdateCheck::removeManifest() const
{
    std::error_code ignored;
    std::filesystem::remove(manifestFile(), ignored);
    std::filesystem::remove(signatureFile(), ignored);
}

void UpdateCheck::resetDisplay()
{
    display_->showProgress(false);
    display_->setStatus({});
    display_->setDownloadText({});
}

void UpdateCheck::DownloadComplete()
{
    if (!display_->windowVisible())
        return;
    display_->setProgress(100);
    display_->setDownloadText(std::string("100") + std::string(kPercentSuffix));
}

void UpdateCheck::DownloadProgress(std::int64_t bytes)
{
    const std::int64_t size = context_.download.FileSize();
    if (size < 1)
        return;
    const long long percent = std::llround(static_cast<double>(bytes) * 100.0 / static_cast<double>(size));
    // A body longer than announced has no place on the bar; and 2048-byte blocks repeat a
    // percent hundreds of times, so only a change is shown.
    if (percent < 0 || percent > 100 || percent == shownPercent_)
        return;
    shownPercent_ = static_cast<int>(percent);
    const std::string text = std::to_string(percent) + std::string(kPercentSuffix);
    display_->setProgress(shownPercent_);
    display_->setCaption(std::string(kDownloadingCaption) + text);
    display_->setDownloadText(text);
}

void UpdateCheck::DownloadError(const std::string& message)
{
    context_.dialogs.message(std::string(kDownloadErrorIntro) + "\n" + message, {}, Icon::Exclamation);
}

} // namespace kv
