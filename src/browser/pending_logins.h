#pragma once
// The logins the engine has started and the sinks still have to perform: which browser
// window was opened for which site file. Records refer to windows by handle, so they
// outlive every rebuild of the window sinks.
//
// A record is good for one login only: the sink takes it when it fills the form, the
// window's next navigation ends it, and it expires after kPendingLoginLifetime. A later
// password form of the same site (a "confirm with your password" page, say) is never
// filled on its strength.
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

inline constexpr std::chrono::seconds kPendingLoginLifetime{30};

// One pending login.
struct Class1 {
    std::string hwnd;           // the browser window the engine opened
    std::filesystem::path Path; // the site file whose login that window performs
    std::chrono::system_clock::time_point timeStamp;
    // What expiry counts from.
    std::chrono::steady_clock::time_point madeAt = std::chrono::steady_clock::now();
    // A page asked for the login name first: it was sent, and the password page comes next.
    bool identifierSent = false;
    bool leftNamePage = false; // the navigation from that page to the password page was seen
};

class PendingLogins {
public:
    void add(Class1 record)
    {
        dropExpired();
        records_.push_back(std::move(record));
    }

    // The first live record made for this window, or nullptr.
    Class1* find(std::string_view hwnd)
    {
        dropExpired();
        const auto it = std::find_if(records_.begin(), records_.end(),
                                     [&](const Class1& record) { return record.hwnd == hwnd; });
        return it == records_.end() ? nullptr : &*it;
    }

    // Removes and returns the first live record made for this window.
    std::optional<Class1> take(std::string_view hwnd)
    {
        const Class1* record = find(hwnd);
        if (!record)
            return std::nullopt;
        Class1 taken = *record;
        records_.erase(records_.begin() + (record - records_.data()));
        return taken;
    }

    // Removes the first record made for this window; false when there is none.
    bool remove(std::string_view hwnd) { return take(hwnd).has_value(); }

    std::size_t Count() const { return records_.size(); }
    const std::vector<Class1>& records() const { return records_; }

private:
    void dropExpired()
    {
        const auto oldest = std::chrono::steady_clock::now() - kPendingLoginLifetime;
        std::erase_if(records_, [&](const Class1& record) { return record.madeAt < oldest; });
    }

    std::vector<Class1> records_;
};

} // namespace kv
