#pragma once
// The download control's size text: "0.98KB", "1.46MB", "1.50GB" (no blank before the
// unit; the decimal separator is the locale's).
#include <string>

namespace kv {

std::string getFileSize(double bytes);

} // namespace kv
