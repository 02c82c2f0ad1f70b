#pragma once
// The test implementation of system-wide hotkeys: records what is registered and released,
// refuses the combinations a test says another program holds, and presses or refuses
// registered ids on request.
#include "platform/global_hotkeys.h"

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace kv::test {

struct Combination {
    unsigned modifiers = 0;
    unsigned virtualKey = 0;
    auto operator<=>(const Combination&) const = default;
};

class RecordingGlobalHotkeys : public GlobalHotkeys {
public:
    bool registerHotkey(int id, unsigned modifiers, unsigned virtualKey, std::string_view) override
    {
        calls.push_back("register " + std::to_string(id));
        const Combination combination{modifiers, virtualKey};
        if (heldElsewhere.count(combination))
            return false;
        held[id] = combination;
        return true;
    }
    void unregisterHotkey(int id) override
    {
        calls.push_back("unregister " + std::to_string(id));
        held.erase(id);
    }

    void press(int id) const
    {
        if (held.count(id) && events())
            events()->HotkeyPressed(id);
    }
    // A registration the desktop accepted and turned down later.
    void refuseLater(int id)
    {
        held.erase(id);
        if (events())
            events()->HotkeyRefused(id);
    }

    std::set<Combination> heldElsewhere;
    std::map<int, Combination> held;
    std::vector<std::string> calls;
};

} // namespace kv::test
