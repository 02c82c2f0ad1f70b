#pragma once
// The script that runs in every document of our browser, in an isolated world of its own:
// page scripts share the DOM with it but can neither see its variables nor call it. It
// reports to the program through a binding that only that world has, and answers the
// program's reads and writes.
//
// Messages it sends (JSON text): {k, agent, s?} where k is "load" (the document finished
// loading), "typed" / "after" (a form is being submitted: before any page handler ran /
// after them), "click" (a click in a page holding a password field, before page handlers),
// "password" (a watched document gained a password field); agent names the agent instance
// (one per document); s is a snapshot.
#include <string>
#include <string_view>

namespace kv {

inline constexpr std::string_view kAgentWorldName = "kv-agent";

// The agent's source, reporting through the binding of the given name.
std::string PageAgentSource(std::string_view bindingName);

} // namespace kv
