// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/TrayState.h"

#include <QColor>
#include <QIcon>

class QPainter;
class QRectF;

// Quillo's tray icons, drawn rather than taken from the icon theme so they look the same on every
// desktop: the viewfinder with lens and sparkle while watching, and a glyph per other state.
namespace TrayIcon {

// Draws into `square` in one colour; the geometry is laid out on an 18-unit grid and scaled.
void draw(QPainter &painter, const QRectF &square, TrayState::Icon icon, const QColor &color);

// An icon that draws itself at whatever size the tray host asks for.
QIcon icon(TrayState::Icon icon, const QColor &color);

} // namespace TrayIcon
