#pragma once
// The update subsystem as the main window uses it: the download control InternetFile1, the
// schedule with its timer, the checks, the Updates area's settings and the proxy dialog.
#include "browser/url_launcher.h"
#include "platform/connection_state.h"
#include "platform/gui_thread.h"
#include "platform/http_client.h"
#include "platform/installation_probe.h"
#include "platform/interval_timer.h"
#include "support/dialogs.h"
#include "support/process.h"
#include "support/reg_access.h"
#include "update/internet_file.h"
#include "update/proxy_setup.h"
#include "update/update_check.h"
#include "update/update_schedule.h"
#include "update/update_servers.h"
#include "update/update_settings.h"
#include "update/updates_area.h"

#include <filesystem>
#include <functional>

namespace kv {

struct UpdatesContext {
    HttpClient& http;
    GuiThread& ui;
    Dialogs& dialogs;
    UrlLauncher& browser;
    Process& process;
    clsRegAccess& registry;
    const InstallationProbe& installation;
    const ConnectionState& connection;
    IntervalTimer& tmrUpdate; // ticks tmrUpdate_Timer once a second while enabled
    std::filesystem::path executable;
    std::filesystem::path profileFile;
    ProgramVersion version;
    UpdatePublicKey makerKey;
    UpdateServers servers;
    std::function<void()> releaseHotkeys;
};

class Updates {
public:
    explicit Updates(UpdatesContext context);

    InternetFile InternetFile1;
    UpdateSettings settings;
    UpdateCheck check;
    UpdateSchedule schedule;
    UpdatesArea area;
    ProxySetup proxy;
    const std::vector<std::string> downloadSites;
};

} // namespace kv
