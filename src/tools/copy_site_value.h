#pragma once
// "Copy password" and "Copy login" of the Sites area: one stored value onto the clipboard,
// from where it is cleared again after a while.
#include "support/dialogs.h"
#include "tools/secret_clipboard.h"

#include <filesystem>
#include <string_view>

namespace kv {

// key: FORMPASSVALUE or FORMLOGINVALUE. An empty value copies nothing; one that cannot be
// decrypted is reported.
void CopySiteValue(const std::filesystem::path& siteFile, std::string_view key, SecretClipboard& clipboard,
                   Dialogs& dialogs);

} // namespace kv
