#pragma once
// Reads a document snapshot sent by the page agent. The text comes from a page, so anything
// malformed yields nullopt or empty fields, never a crash.
#include <functional>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>

#include "browser/automation.h"

namespace kv {

// registryAgent: the agent instance that took the snapshot; writes through the snapshot's
// refs go to it. frameOfAgent: the frame of the document a given agent instance lives in,
// empty when unknown.
std::optional<DocumentSnapshot>
ParseSnapshot(const nlohmann::json& snapshot, const std::string& registryAgent,
              const std::function<std::string(const std::string&)>& frameOfAgent);

} // namespace kv
