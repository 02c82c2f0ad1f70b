#include "startup/start_up.h"

#include "startup/access_control.h"
#include "startup/create_profile.h"
#include "startup/first_run_wizard.h"
#include "startup/profile.h"
#include "startup/profile_key.h"
#include "startup/profile_settings.h"
#include "startup/startup_texts.h"
#include "storage/ini_values.h"
#include "storage/key_material.h"
#include "storage/secure_store.h"
#include "storage/sites_tree.h"

#include <charconv>
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

void CreateFirstProfile(StartUpContext& context)
{
    FirstRunWizard wizard(context.dialogs, context.user, context.random);
    context.dialogs.showWizard(wizard);
    const NewProfile& created = wizard.results();
    if (created.incomplete())
        context.process.endProgram();
    CreateProfile(created, context.machine.volumeSerial(), context.shortcuts);
    context.registry.WriteString(kProfileKey, std::string(kProfileNameValue), created.name);
    context.registry.WriteString(kProfileKey, std::string(kProfilePathValue), StoredPath(created.path));
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
        context.registry.WriteString(std::string(kRunKey), std::string(kRunValue),
                                     context.executable.string());
        context.shortcuts.addToolbarButton();
        context.process.endProgram();
    } else if (words[0] == kUninstallSwitch) {
        context.registry.KillValue(std::string(kRunKey), std::string(kRunValue));
        context.shortcuts.removeToolbarButton();
        context.shortcuts.deleteQuickLaunchShortcut();
        context.process.endProgram();
    } else if (words[0] == kUpdateRestartSwitch) {
        TerminateOldProgram(words, context);
    } else {
        RefuseSecondInstance(context, kAlreadyRunningTitleWithArguments);
    }
    ResolveProfile(context);
}

void ResolveProfile(StartUpContext& context)
{
    std::string name = context.registry.ReadString(kProfileKey, std::string(kProfileNameReadAs), "");
    if (name.empty()) {
        CreateFirstProfile(context);
        name = context.registry.ReadString(kProfileKey, std::string(kProfileNameReadAs), "");
    }
    if (name != context.user.name()) {
        // The profile was made under another account name; opening it here would be wrong,
        // and there is nothing else to show.
        context.dialogs.message(std::string(kOtherAccountsProfileStart) + name +
                                std::string(kOtherAccountsProfileEnd));
        context.process.endProgram();
    }
    Profile profile{name, context.registry.ReadString(kProfileKey, std::string(kProfilePathValue), "")};
    if (!profile.path.is_absolute() || !FileExists(ProfileFile(profile))) {
        auto found = FindMissingProfile(std::move(profile), context);
        if (!found)
            context.process.endProgram();
        profile = std::move(*found);
    }
    SetCurrentProfile(profile);
    SetUpKeys(profile, context);
    RunAccessControl(ProfileFile(profile), context.dialogs, context.process, context.accounts, context.user);
}

} // namespace kv
