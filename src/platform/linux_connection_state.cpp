#include "platform/connection_state.h"

#include <ifaddrs.h>
#include <net/if.h>

namespace kv {

bool LinuxConnectionState::online() const
{
    ifaddrs* interfaces = nullptr;
    if (getifaddrs(&interfaces) != 0)
        return false;
    bool found = false;
    for (const ifaddrs* entry = interfaces; entry && !found; entry = entry->ifa_next) {
        const unsigned flags = entry->ifa_flags;
        found = entry->ifa_addr && (flags & IFF_UP) && (flags & IFF_RUNNING) && !(flags & IFF_LOOPBACK);
    }
    freeifaddrs(interfaces);
    return found;
}

} // namespace kv
