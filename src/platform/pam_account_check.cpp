#include "platform/account_check.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <security/pam_appl.h>

namespace kv {

namespace {
constexpr const char* kOwnService = "kestrelyn-vormaplex";
constexpr const char* kFallbackService = "login";

// PAM quietly uses its "other" service for an unknown name, so look for ours first.
const char* ServiceName()
{
    for (const char* dir : {"/etc/pam.d/", "/usr/lib/pam.d/"})
        if (std::filesystem::exists(std::string(dir) + kOwnService))
            return kOwnService;
    return kFallbackService;
}

struct Credentials {
    const std::string* user;
    const std::string* password;
};

// Answers every hidden prompt with the password and every visible one with the user
// name; PAM takes ownership of the replies.
int Converse(int count, const pam_message** messages, pam_response** responses, void* data)
{
    if (count <= 0)
        return PAM_CONV_ERR;
    const auto* credentials = static_cast<const Credentials*>(data);
    auto* replies =
        static_cast<pam_response*>(std::calloc(static_cast<std::size_t>(count), sizeof(pam_response)));
    if (!replies)
        return PAM_BUF_ERR;
    for (int i = 0; i < count; ++i) {
        const std::string* answer = nullptr;
        if (messages[i]->msg_style == PAM_PROMPT_ECHO_OFF)
            answer = credentials->password;
        else if (messages[i]->msg_style == PAM_PROMPT_ECHO_ON)
            answer = credentials->user;
        if (answer && !(replies[i].resp = strdup(answer->c_str()))) {
            for (int j = 0; j < i; ++j) {
                if (replies[j].resp)
                    explicit_bzero(replies[j].resp, std::strlen(replies[j].resp));
                std::free(replies[j].resp);
            }
            std::free(replies);
            return PAM_BUF_ERR;
        }
    }
    *responses = replies;
    return PAM_SUCCESS;
}

AccountCheckResult ResultOf(int status)
{
    switch (status) {
    case PAM_SUCCESS:
        return AccountCheckResult::Match;
    case PAM_AUTH_ERR:
    case PAM_USER_UNKNOWN:
    case PAM_MAXTRIES:
    case PAM_CRED_INSUFFICIENT:
    case PAM_ACCT_EXPIRED:
    case PAM_NEW_AUTHTOK_REQD:
    case PAM_PERM_DENIED:
        return AccountCheckResult::NoMatch;
    default:
        return AccountCheckResult::Failure;
    }
}
} // namespace

AccountCheckResult PamAccountCheck::passwordMatches(const std::string& user, const std::string& password)
{
    Credentials credentials{&user, &password};
    const pam_conv conversation{Converse, &credentials};
    pam_handle_t* handle = nullptr;
    int status = pam_start(ServiceName(), user.c_str(), &conversation, &handle);
    if (status != PAM_SUCCESS)
        return AccountCheckResult::Failure;
    status = pam_authenticate(handle, PAM_SILENT);
    if (status == PAM_SUCCESS)
        status = pam_acct_mgmt(handle, PAM_SILENT);
    pam_end(handle, status);
    return ResultOf(status);
}

} // namespace kv
