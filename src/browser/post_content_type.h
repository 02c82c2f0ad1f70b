#pragma once
// The content type of a login a page's script sent, as it is saved and sent again. It comes
// from the page: only a plain header value is taken, never one that could start another header.
#include <string>
#include <string_view>

namespace kv {

// Printable ASCII, at most 256 bytes, not empty.
bool IsSafeContentType(std::string_view type);

// The header lines a direct post sends with its body: none for a form's own encoding (an
// empty or unsafe type).
std::string ContentTypeHeader(std::string_view type);

} // namespace kv
