#pragma once
// Textual registry paths: "HKEY_CURRENT_USER\Software\X", "hkcu\Software\X" and
// "HKCU" alone (the root key itself) all name keys; the root is the text before the
// first backslash, written out in full or abbreviated, in any letter case.
#include "support/registry_backend.h"

#include <string>

namespace kv {

struct RegPath {
    RegKey root = 0; // 0: not a root key of the registry; every open of it fails
    std::string subPath;
};

RegPath ResolveRegPath(const std::string& path);

// The path with an abbreviated root written out in full ("HKCU\X" → "HKEY_CURRENT_USER\X").
std::string WithFullRootName(const std::string& path);

} // namespace kv
