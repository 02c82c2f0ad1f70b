#include "platform/instance_request.h"

#include <nlohmann/json.hpp>

namespace kv {
namespace {
using Json = nlohmann::json;

constexpr std::string_view kMalformed = "malformed request";

std::string_view KindName(InstanceRequest::Kind kind)
{
    switch (kind) {
    case InstanceRequest::Kind::LoginSites:
        return "login-sites";
    case InstanceRequest::Kind::LoginFolder:
        return "login-folder";
    case InstanceRequest::Kind::LoginHotkey:
        return "login-hotkey";
    case InstanceRequest::Kind::Show:
        break;
    }
    return "show";
}

std::optional<Json> Parse(std::string_view line)
{
    if (line.size() > kMaxInstanceMessage)
        return std::nullopt;
    Json json = Json::parse(line, nullptr, false);
    if (json.is_discarded() || !json.is_object())
        return std::nullopt;
    return json;
}

} // namespace

std::string EncodeInstanceRequest(const InstanceRequest& request)
{
    Json json{{"request", KindName(request.kind)}};
    switch (request.kind) {
    case InstanceRequest::Kind::LoginSites:
        json["sites"] = request.sites;
        break;
    case InstanceRequest::Kind::LoginFolder:
        json["folder"] = request.folder;
        break;
    case InstanceRequest::Kind::LoginHotkey:
        json["hotkey"] = request.hotkey;
        break;
    case InstanceRequest::Kind::Show:
        break;
    }
    // Invalid UTF-8 in a name is replaced rather than failing the whole request.
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

tl::expected<InstanceRequest, std::string> DecodeInstanceRequest(std::string_view line)
{
    if (line.find_first_not_of(" \t\r\n") == std::string_view::npos)
        return InstanceRequest{};
    const auto json = Parse(line);
    if (!json || !json->contains("request") || !(*json)["request"].is_string())
        return tl::unexpected(std::string(kMalformed));
    const std::string kind = (*json)["request"];
    InstanceRequest request;
    if (kind == KindName(InstanceRequest::Kind::Show))
        return request;
    if (kind == KindName(InstanceRequest::Kind::LoginSites)) {
        const auto sites = json->find("sites");
        if (sites == json->end() || !sites->is_array() || sites->empty())
            return tl::unexpected(std::string(kMalformed));
        for (const Json& site : *sites) {
            if (!site.is_string())
                return tl::unexpected(std::string(kMalformed));
            request.sites.push_back(site.get<std::string>());
        }
        request.kind = InstanceRequest::Kind::LoginSites;
        return request;
    }
    if (kind == KindName(InstanceRequest::Kind::LoginFolder)) {
        const auto folder = json->find("folder");
        if (folder == json->end() || !folder->is_string())
            return tl::unexpected(std::string(kMalformed));
        request.kind = InstanceRequest::Kind::LoginFolder;
        request.folder = folder->get<std::string>();
        return request;
    }
    if (kind == KindName(InstanceRequest::Kind::LoginHotkey)) {
        const auto hotkey = json->find("hotkey");
        if (hotkey == json->end() || !hotkey->is_number_integer())
            return tl::unexpected(std::string(kMalformed));
        request.kind = InstanceRequest::Kind::LoginHotkey;
        request.hotkey = hotkey->get<int>();
        return request;
    }
    return tl::unexpected("unknown request '" + kind + "'");
}

std::string EncodeInstanceReply(const InstanceReply& reply)
{
    return Json{{"ok", reply.ok}, {"message", reply.message}}.dump(-1, ' ', false,
                                                                   Json::error_handler_t::replace);
}

tl::expected<InstanceReply, std::string> DecodeInstanceReply(std::string_view line)
{
    const auto json = Parse(line);
    if (!json || !json->contains("ok") || !(*json)["ok"].is_boolean() || !json->contains("message") ||
        !(*json)["message"].is_string())
        return tl::unexpected(std::string("the running program's answer could not be understood"));
    return InstanceReply{(*json)["ok"].get<bool>(), (*json)["message"].get<std::string>()};
}

} // namespace kv
