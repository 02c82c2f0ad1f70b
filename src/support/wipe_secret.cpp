#include "support/wipe_secret.h"

#include <cstring>

namespace kv {

void WipeSecret(std::string& secret)
{
    explicit_bzero(secret.data(), secret.size());
    secret.clear();
}

} // namespace kv
