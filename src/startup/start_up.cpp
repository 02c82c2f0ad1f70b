#include "startup/start_up.h"

#include "startup/access_control.h"
#include "startup/create_profile.h"
#include "startup/first_run_wizard.h"
#include "startup/profile.h"
#include "startup/profile_key.h"
#include "startup/profile_settings.h"
#include "startup/run_entry.h"
#include "startup/startup_texts.h"
#include "storage/ini_values.h"
#include "storage/key_material.h"
#include "storage/secure_store.h"
#include "storage/sites_tree.h"
#include "storage/temp_files.h"

#include <charconv>
#include <chrono>
#include <optional>
#include <sstream>

namespace kv {

namespace {
namespace fs = std::filesystem;

const std::string kProfileKey(kProfileRegistryKey);

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

// A path as the registry keeps it: without a trailing "/" (the root excepted).
std::string StoredPath(std::string path)
{
    while (path.size() > 1 && path.ends_with('/'))
        path.pop_back();
    return path;
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

// A value of the profile's registry key; "" when none is recorded. A registry that cannot
// be read is not "nothing recorded": starting over would put a new profile over the user's.
std::string RecordedProfileValue(std::string_view valueName, StartUpContext& context)
{
    const auto stored = context.registry.ReadStringOrFailure(kProfileKey, std::string(valueName));
    if (!stored) {
        EndWithRegistryMessage(kRegistryUnreadable, kRegistryUnreadableEnd, context);
        return {};
    }
    return stored->value_or("");
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
    if (!CreateProfile(created, context.machine.volumeSerial(), context.shortcuts) &&
        context.dialogs.ask(ProfileFoundQuestion(created), Buttons::YesNo, Icon::Exclamation) !=
            Dialogs::Answer::Yes)
        context.process.endProgram();
    if (context.registry.WriteString(kProfileKey, std::string(kProfileNameValue), created.name) == 0 ||
        context.registry.WriteString(kProfileKey, std::string(kProfilePathValue), StoredPath(created.path)) ==
            0)
        EndWithRegistryMessage(kRegistryNotWritten, kRegistryNotWrittenEnd, context);
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
        profile.path = StoredPath(chosen->string());
        if (!profile.path.is_absolute() || !FileExists(ProfileFile(profile))) {
            context.dialogs.message(kSecondReadFailed);
            break;
        }
        context.registry.WriteString(kProfileKey, std::string(kProfilePathValue), profile.path.string());
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
    const std::string serialPart = VolumeSerialPart(context.machine.volumeSerial());
    const std::string machineKey = MachineKey(serialPart);
    const std::string stored = ReadIniValue(kSecuritySection, ENCRYPTION_KEY, ProfileFile(profile));
    auto profileKey = DecryptValue(stored, machineKey);
    if (!profileKey) {
        context.dialogs.message(profileKey.error().description);
        context.process.endProgram();
    }
    if (profileKey->size() != kProfileKeyLength) {
        context.dialogs.message(std::to_string(profileKey->size()));
        context.process.endProgram();
    }
    SetCipherKeys({machineKey, ValueKey(serialPart, *profileKey)});
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
    std::string name = RecordedProfileValue(kProfileNameReadAs, context);
    if (name.empty()) {
        CreateFirstProfile(context);
        name = RecordedProfileValue(kProfileNameReadAs, context);
    }
    if (name != context.user.name()) {
        // The profile was made under another account name; opening it here would be wrong,
        // and there is nothing else to show.
        context.dialogs.message(std::string(kOtherAccountsProfileStart) + name +
                                std::string(kOtherAccountsProfileEnd));
        context.process.endProgram();
    }
    Profile profile{name, RecordedProfileValue(kProfilePathValue, context)};
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
