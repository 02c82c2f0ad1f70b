#include "update/internet_file_texts.h"

#include <utility>

namespace kv {

std::string_view HttpStatusMessage(int status)
{
    static constexpr std::pair<int, std::string_view> kMessages[] = {
        {201, "Error 201: Created"},
        {202, "Error 202: Accepted"},
        {204, "Error 204: No Content"},
        {301, "Error 301: Moved Permanently"},
        {302, "Error 302: Moved Temporarily"},
        {304, "Error 304: Not Modified"},
        {400, "Error 400: Bad Request"},
        {401, "Error 401: Unauthorized"},
        {403, "Error 403: Forbidden"},
        {404, "Error 404: Not Found"},
        {500, "Error 500: Internal Server Error"},
        {501, "Error 501: Not Implemented"},
        {502, "Error 502: Bad Gateway"},
        {503, "Error 503: Service Unavailable"},
    };
    for (const auto& [code, text] : kMessages) {
        if (code == status)
            return text;
    }
    return {};
}

} // namespace kv
