#pragma once
// The logins the engine has started and the sinks still have to perform: which browser
// window was opened for which site file. Records refer to windows by handle, so they
// outlive every rebuild of the window sinks.
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// One pending login.
struct Class1 {
    std::string hwnd;           // the browser window the engine opened
    std::filesystem::path Path; // the site file whose login that window performs
    std::chrono::system_clock::time_point timeStamp;
};

class PendingLogins {
public:
    void add(Class1 record) { records_.push_back(std::move(record)); }

    // The first record made for this window, or nullptr.
    const Class1* find(std::string_view hwnd) const
    {
        for (const auto& record : records_)
            if (record.hwnd == hwnd)
                return &record;
        return nullptr;
    }

    // Removes the first record made for this window; false when there is none.
    bool remove(std::string_view hwnd)
    {
        for (auto it = records_.begin(); it != records_.end(); ++it) {
            if (it->hwnd == hwnd) {
                records_.erase(it);
                return true;
            }
        }
        return false;
    }

    std::size_t Count() const { return records_.size(); }
    const std::vector<Class1>& records() const { return records_; }

private:
    std::vector<Class1> records_;
};

} // namespace kv
