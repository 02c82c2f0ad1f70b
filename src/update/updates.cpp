#include "update/updates.h"

namespace kv {

Updates::Updates(UpdatesContext context)
    : InternetFile1(context.http, context.ui, context.dialogs), settings(context.registry),
      check({InternetFile1, context.dialogs, context.browser, context.process, context.installation,
             context.executable, context.version, context.makerKey,
             AutomaticManifestAddress(context.servers.automaticHost), std::move(context.releaseHotkeys)}),
      schedule(settings, context.tmrUpdate, check, context.connection), area(settings, schedule),
      proxy(context.profileFile, InternetFile1), downloadSites(std::move(context.servers.downloadSites))
{
    proxy.ApplyStoredProxy();
}

} // namespace kv
