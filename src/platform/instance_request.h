#pragma once
// What a later start asks of the running program over its single-instance socket: one
// line of JSON each way. A connection that sends nothing asks the program to show itself,
// as every earlier start did.
#include <string>
#include <string_view>
#include <tl/expected.hpp>
#include <vector>

namespace kv {

// Requests and replies larger than this are refused unread.
inline constexpr std::size_t kMaxInstanceMessage = 64 * 1024;

struct InstanceRequest {
    enum class Kind { Show, LoginSites, LoginFolder, LoginHotkey };
    Kind kind = Kind::Show;
    std::vector<std::string> sites; // tree paths from the root ("/Mail/Bank"), for LoginSites
    std::string folder;             // tree path of the folder, for LoginFolder
    int hotkey = 0;                 // 1 to 10, for LoginHotkey

    bool operator==(const InstanceRequest&) const = default;
};

struct InstanceReply {
    bool ok = false;
    std::string message; // for the user: what was done, or why not

    bool operator==(const InstanceReply&) const = default;
};

std::string EncodeInstanceRequest(const InstanceRequest& request);
// "" is a show request; anything malformed is an error, never a guess.
tl::expected<InstanceRequest, std::string> DecodeInstanceRequest(std::string_view line);

std::string EncodeInstanceReply(const InstanceReply& reply);
tl::expected<InstanceReply, std::string> DecodeInstanceReply(std::string_view line);

} // namespace kv
