#pragma once
// The download control's address splitter.
#include <string>

namespace kv {

// url in: an address; out: its host (a port stays part of it). Only a lower-case "http://"
// prefix is removed. path: from the first "/" of the rest to the end; left as it was when
// the rest has no "/".
void CrackURL(std::string& url, std::string& path);

} // namespace kv
