#pragma once

#include "ui/MenuBarState.h"

#include <QColor>
#include <QIcon>

class QPainter;
class QRectF;

// Quillo's tray icons, drawn rather than taken from the icon theme so they look the same on every
// desktop: the viewfinder with lens and sparkle while watching, and a glyph per other state.
namespace MenuBarIcon {

// Draws into `square` in one colour; the geometry is laid out on an 18-unit grid and scaled.
void draw(QPainter &painter, const QRectF &square, MenuBarState::Icon icon, const QColor &color);

// An icon that draws itself at whatever size the tray host asks for.
QIcon icon(MenuBarState::Icon icon, const QColor &color);

} // namespace MenuBarIcon
