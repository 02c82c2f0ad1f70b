#pragma once
// Waits on the Qt event loop, so that window and browser events keep running meanwhile.
#include <chrono>
#include <functional>

namespace kv {

// Runs the loop until done() holds or the limit passes; returns done().
bool QtWaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);

} // namespace kv
