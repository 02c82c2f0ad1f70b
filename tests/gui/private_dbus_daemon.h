#pragma once
// A dbus-daemon of the test's own on a socket in a temporary folder, ended with the object.
// Its policy lets anyone own any name, and it activates no services: only what the test
// starts answers on it.
#include "common/temp_dir.h"
#include "gui/x_session.h"

#include <fstream>
#include <memory>
#include <string>

namespace kv::test {

class PrivateDbusDaemon {
public:
    PrivateDbusDaemon()
    {
        if (!ProgramOnPath("dbus-daemon"))
            return;
        const auto config = folder_ / "bus.conf";
        std::ofstream(config)
            << "<busconfig><type>session</type><listen>unix:dir=" << folder_.path().string()
            << "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
            << "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
            << "<allow own=\"*\"/></policy></busconfig>\n";
        daemon_ = std::make_unique<ChildProcess>(std::vector<std::string>{"dbus-daemon",
                                                                          "--config-file=" + config.string(),
                                                                          "--nofork", "--print-address=1"},
                                                 std::map<std::string, std::string>{}, folder_ / "address");
        WaitFor(
            [&] {
                std::ifstream told(folder_ / "address");
                std::getline(told, address_);
                return !address_.empty() || !daemon_->running();
            },
            std::chrono::seconds(10));
    }
    PrivateDbusDaemon(const PrivateDbusDaemon&) = delete;
    PrivateDbusDaemon& operator=(const PrivateDbusDaemon&) = delete;

    // Empty when the daemon could not start.
    const std::string& address() const { return address_; }
    const TempDir& folder() const { return folder_; }

private:
    TempDir folder_;
    std::string address_;
    std::unique_ptr<ChildProcess> daemon_;
};

} // namespace kv::test
