#include "startup/start_up.h"

#include "startup/access_control.h"
#include "startup/first_run_wizard.h"
#include "startup/profile.h"
#include "startup/profile_settings.h"
#include "startup/recorded_profile.h"
#include "startup/run_entry.h"
#include "startup/startup_texts.h"
#include "storage/key_material.h"
#include "storage/sites_tree.h"
#include "storage/temp_files.h"

#include <charconv>
#include <chrono>
#include <optional>
#include <sstream>

namespace kv {

namespace {
namespace fs = std::filesystem;

std::vector<std::string> Words(const std::vector<std::string>& arguments)
{
    std::vector<std::string> words;
    for (const std::string& argument : arguments) {
        std::istringstream split(argument);
        for (std::string word; split >> word;)
            words.push_back(word);
    }
    return words;
}

void RefuseSecondInstance(StartUpContext& context, std::string_view title)
{
    if (context.instance.claim())
        return;
    context.dialogs.message(kAlreadyRunning, title, Icon::Exclamation);
    // The user wanted the program: bring the running one forward.
    context.instance.askRunningInstanceToShow();
    context.process.endProgram();
}

void TerminateOldProgram(const std::vector<std::string>& words, StartUpContext& context)
{
    if (words.size() < 2)
        return;
    const std::string& id = words[1];
    long processId = 0;
    const auto [end, error] = std::from_chars(id.data(), id.data() + id.size(), processId);
    if (error == std::errc() && end == id.data() + id.size())
        context.terminator.terminate(processId);
}

// A temp file this old belongs to a write that was cut short, never to one in progress.
constexpr std::chrono::minutes kStaleTempFileAge(1);

void EndWithRegistryMessage(std::string_view start, std::string_view end, StartUpContext& context)
{
    context.dialogs.message(std::string(start) + "\n" + context.registryLocation.string() + "\n\n" +
                                std::string(end),
                            {}, Icon::Critical);
    context.process.endProgram();
}

// What the registry records of the profile. A registry that cannot be read ends the start:
// it is not "nothing recorded".
Profile ReadRecordedProfile(StartUpContext& context)
{
    auto recorded = RecordedProfile(context.registry);
    if (!recorded) {
        EndWithRegistryMessage(kRegistryUnreadable, kRegistryUnreadableEnd, context);
        return {};
    }
    return std::move(*recorded);
}

std::string ProfileFoundQuestion(const NewProfile& created)
{
    return std::string(kProfileFoundStart) + created.name + std::string(kProfileFoundAfterName) + "\n" +
           created.path + "\n\n" + std::string(kProfileFoundEnd);
}

void CreateFirstProfile(StartUpContext& context)
{
    FirstRunWizard wizard(context.dialogs, context.user, context.random);
    context.dialogs.showWizard(wizard);
    const NewProfile& created = wizard.results();
    if (created.incomplete())
        context.process.endProgram();
    const auto takeFoundProfile = [&] {
        return context.dialogs.ask(ProfileFoundQuestion(created), Buttons::YesNo, Icon::Exclamation) ==
               Dialogs::Answer::Yes;
    };
    switch (
        InstallNewProfile(created, context.machine, context.shortcuts, context.registry, takeFoundProfile)) {
    case NewProfileInstall::Recorded:
        break;
    case NewProfileInstall::Declined:
        context.process.endProgram();
        break;
    case NewProfileInstall::NotRecorded:
        EndWithRegistryMessage(kRegistryNotWritten, kRegistryNotWrittenEnd, context);
        break;
    }
}

std::string MissingProfileQuestion(const Profile& profile)
{
    return std::string(kMissingProfileStart) + profile.name + std::string(kMissingProfileAfterName) + "\n" +
           profile.path.string() + "\n" + std::string(kMissingProfileEnd);
}

// The settings file is not where the registry says: ask to retry, to pick another
// directory, or to give up (nothing).
std::optional<Profile> FindMissingProfile(Profile profile, StartUpContext& context)
{
    switch (context.dialogs.ask(MissingProfileQuestion(profile), Buttons::YesNoCancel, Icon::Exclamation)) {
    case Dialogs::Answer::Yes:
        if (FileExists(ProfileFile(profile)))
            return profile;
        context.dialogs.message(kSecondReadFailed);
        break;
    case Dialogs::Answer::No: {
        const auto chosen = context.dialogs.chooseFolder(kSelectDirectory, profile.path);
        std::error_code ec;
        if (!chosen || chosen->empty() || !fs::is_directory(*chosen, ec)) {
            context.dialogs.message(kNoSourceDirectory);
            break;
        }
        profile.path = StoredProfilePath(chosen->string());
        if (!profile.path.is_absolute() || !FileExists(ProfileFile(profile))) {
            context.dialogs.message(kSecondReadFailed);
            break;
        }
        // A registry that refuses it only means the question comes again at the next start.
        RecordProfilePath(context.registry, profile.path);
        return profile;
    }
    default:
        break;
    }
    return std::nullopt;
}

// Both cipher keys from this machine and the profile key stored under the machine key.
void SetUpKeys(const Profile& profile, StartUpContext& context)
{
    auto keys = ProfileCipherKeys(ProfileFile(profile), context.machine.volumeSerial());
    if (!keys) {
        context.dialogs.message(keys.error());
        context.process.endProgram();
    }
    SetCipherKeys(std::move(*keys));
}
} // namespace

void StartUp(const std::vector<std::string>& arguments, StartUpContext& context)
{
    if (!context.supportedBrowserPresent) {
        context.dialogs.message(kBrowserMissing);
        context.process.endProgram();
    }
    const std::vector<std::string> words = Words(arguments);
    if (words.empty()) {
        RefuseSecondInstance(context, kAlreadyRunningTitle);
    } else if (words[0] == kInstallSwitch) {
        WriteRunEntry(context.registry, context.executable);
        context.shortcuts.addToolbarButton();
        context.process.endProgram();
    } else if (words[0] == kUninstallSwitch) {
        RemoveRunEntry(context.registry);
        context.shortcuts.removeToolbarButton();
        context.shortcuts.deleteQuickLaunchShortcut();
        context.process.endProgram();
    } else if (words[0] == kUpdateRestartSwitch) {
        // The old program is ended rather than refused; this one then stands in its place,
        // so that a later start is refused as usual.
        TerminateOldProgram(words, context);
        context.instance.takeOver();
    } else {
        RefuseSecondInstance(context, kAlreadyRunningTitleWithArguments);
    }
    ResolveProfile(context);
}

void ResolveProfile(StartUpContext& context)
{
    Profile profile = ReadRecordedProfile(context);
    if (profile.name.empty()) {
        CreateFirstProfile(context);
        profile = ReadRecordedProfile(context);
    }
    if (profile.name != context.user.name()) {
        // The profile was made under another account name; opening it here would be wrong,
        // and there is nothing else to show.
        context.dialogs.message(std::string(kOtherAccountsProfileStart) + profile.name +
                                std::string(kOtherAccountsProfileEnd));
        context.process.endProgram();
    }
    if (!profile.path.is_absolute() || !FileExists(ProfileFile(profile))) {
        auto found = FindMissingProfile(std::move(profile), context);
        if (!found)
            context.process.endProgram();
        profile = std::move(*found);
    }
    SetCurrentProfile(profile);
    RemoveStaleTempFiles(profile.path, kStaleTempFileAge);
    SetUpKeys(profile, context);
    RunAccessControl(ProfileFile(profile), context.dialogs, context.process, context.accounts, context.user);
}

} // namespace kv
