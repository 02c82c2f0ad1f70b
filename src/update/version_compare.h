#pragma once
// Whether a manifest offers a newer release than the running program.
#include <string_view>

namespace kv {

struct ProgramVersion {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

// The manifest's version without its dots against the program's three numbers written one
// after another, compared as plain text: 2.0.1 ("201") is newer than 2.0.0 ("200"), and
// 1.2.10 ("1210") is not newer than 1.2.9 ("129"). Published versions are numbered with that
// rule in mind.
bool UpdateOffered(std::string_view manifestVersion, const ProgramVersion& running);

} // namespace kv
