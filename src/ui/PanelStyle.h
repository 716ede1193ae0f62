#pragma once

#include <QColor>
#include <QPalette>

// The panel's colours, all taken from the palette so they suit a light and a dark theme.
namespace PanelStyle {

bool isDark(const QPalette &palette);
// The text colour at the given opacity: lines, tracks and faint fills.
QColor primary(const QPalette &palette, double opacity);
QColor secondary(const QPalette &palette);
QColor accent(const QPalette &palette);
QColor success(const QPalette &palette);
QColor warning(const QPalette &palette);

} // namespace PanelStyle
