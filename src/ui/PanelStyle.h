// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>

class QWidget;

// The panel's colours, all taken from the palette so they suit a light and a dark theme.
namespace PanelStyle {

bool isDark(const QPalette &palette);
// The text colour at the given opacity: lines, tracks and faint fills.
QColor primary(const QPalette &palette, double opacity);
QColor secondary(const QPalette &palette);
QColor accent(const QPalette &palette);
QColor success(const QPalette &palette);
QColor warning(const QPalette &palette);

// The widget's colours as when enabled: a disabled name stays readable, only fainter.
QPalette activeColours(const QWidget *widget);
QFont font(QFont base, int pixels, QFont::Weight weight);

} // namespace PanelStyle
