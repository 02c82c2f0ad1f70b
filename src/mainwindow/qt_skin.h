#pragma once
// Applies a skin (a style sheet, or none for the platform's own look) to every window.
#include "mainwindow/skin_table.h"

#include <QColor>
#include <QString>
#include <optional>

namespace kv {

// False when the style sheet cannot be read or parsed; the current look then stays.
bool ApplySkin(const Skin& skin);

// A skin names the colour of links in labels in a rule of its own, "KestrelynLink { color: … }":
// no widget has that type, so the rule changes nothing else.
std::optional<QColor> SkinLinkColour(const QString& styleSheet);

// Whether Qt can parse the style sheet.
bool StyleSheetParses(const QString& styleSheet);

} // namespace kv
