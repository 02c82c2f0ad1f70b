#pragma once
// Applies a skin (a style sheet, or none for the platform's own look) to every window.
#include "mainwindow/skin_table.h"

namespace kv {

// False when the style sheet cannot be read; the current look then stays.
bool ApplySkin(const Skin& skin);

} // namespace kv
