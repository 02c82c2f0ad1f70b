#pragma once
// A whole start-up in a temp directory: a SQLite registry, scripted dialogs and
// scripted platform services, with helpers that play the first-run wizard.
#include "common/scripted_dialogs.h"
#include "common/temp_dir.h"
#include "platform/autostart_registry_backend.h"
#include "startup/create_login_dialog.h"
#include "startup/first_run_wizard.h"
#include "startup/login_dialog.h"
#include "startup/profile_settings.h"
#include "startup/start_up.h"
#include "startup_fakes.h"
#include "support/reg_access.h"
#include "support/sqlite_registry_backend.h"

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace kv::test {

inline const std::string kProfileRegistry(kProfileRegistryKey);

class StartUpWorld {
public:
    StartUpWorld() { user.documents = temp / "Documents"; }

    // True when start-up reached the main window, false when the program ended.
    bool start(const std::vector<std::string>& arguments = {})
    {
        return run(contextWith(dialogs, instance, terminator), arguments);
    }
    // The same start with other dialogs, for a test that plays several answers in turn.
    bool startWith(Dialogs& otherDialogs, const std::vector<std::string>& arguments = {})
    {
        return run(contextWith(otherDialogs, instance, terminator), arguments);
    }
    // The same start with real single-instance and process services.
    bool startWith(SingleInstance& otherInstance, ProcessTerminator& otherTerminator,
                   const std::vector<std::string>& arguments = {})
    {
        return run(contextWith(dialogs, otherInstance, otherTerminator), arguments);
    }
    StartUpContext contextWith(Dialogs& otherDialogs, SingleInstance& otherInstance,
                               ProcessTerminator& otherTerminator)
    {
        return {otherDialogs,
                process,
                registry,
                machine,
                user,
                accounts,
                otherInstance,
                otherTerminator,
                shortcuts,
                context.executable,
                context.supportedBrowserPresent,
                context.random,
                registryDir()};
    }
    static bool run(StartUpContext context, const std::vector<std::string>& arguments)
    {
        try {
            StartUp(arguments, context);
            return true;
        } catch (const ProgramEnded&) {
            return false;
        }
    }

    // The user walks through the wizard: moves the mouse until the key is made, picks the
    // login choice and finishes (entering login and password when the choice asks for them).
    void scriptFirstRun(int choice, bool makeCategories = true, std::string login = "Bob",
                        std::string password = "S3cret")
    {
        dialogs.onWizard([=, this](FirstRunWizard& wizard) {
            for (int x = 0; !wizard.tmrGData_Timer(x, 500); ++x) {
            }
            if (choice == 1 || choice == 3)
                dialogs.onCreateLogin(
                    [=](CreateLoginDialog& form) { form.cmdOK_Click(login, password, password); });
            wizard.cmdFinish_Click(wizard.defaultDirectory(), choice, makeCategories);
        });
    }
    // The user types into the next login dialog and presses Login.
    void scriptLogin(std::string text1, std::string text2)
    {
        dialogs.onLogin([this, text1, text2](LoginDialog& dialog) {
            loginCaptions.emplace_back(dialog.caption());
            dialog.cmdYes_Click(text1, text2);
        });
    }

    std::filesystem::path profileDir() const { return temp / "Documents" / "Kestrelyn"; }
    std::filesystem::path registryDir() const { return temp / "registry"; }
    std::filesystem::path autostartFile() const
    {
        return temp / "config" / "autostart" / "kestrelyn-vormaplex.desktop";
    }
    std::filesystem::path settingsFile() const { return profileDir() / (user.userName + ".ini"); }
    std::string registryValue(const std::string& name)
    {
        return registry.ReadString(kProfileRegistry, name, "");
    }

    TempDir temp;
    SqliteRegistryBackend store{registryDir()};
    AutostartRegistryBackend backend{store, autostartFile()};
    clsRegAccess registry{backend};
    ScriptedDialogs dialogs;
    EndingProcess process;
    FixedMachineIdentity machine;
    FixedUserAccount user;
    FixedAccountCheck accounts;
    FixedInstance instance;
    RecordingTerminator terminator;
    RecordingShortcuts shortcuts;
    std::vector<std::string> loginCaptions;
    StartUpContext context{
        dialogs,  process,  registry,   machine,   user,
        accounts, instance, terminator, shortcuts, "/opt/kestrelyn-vormaplex/bin/kestrelyn-vormaplex",
        true};
};

// The key names of one INI section in file order.
inline std::vector<std::string> SectionKeys(const std::filesystem::path& file, const std::string& section)
{
    std::ifstream in(file);
    std::vector<std::string> keys;
    bool inside = false;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.starts_with('['))
            inside = line == "[" + section + "]";
        else if (inside && line.find('=') != std::string::npos)
            keys.push_back(line.substr(0, line.find('=')));
    }
    return keys;
}

inline std::string FileBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace kv::test
