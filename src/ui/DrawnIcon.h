// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QIcon>
#include <QList>
#include <QSize>

#include <functional>

class QPainter;
class QRectF;

// Icons drawn by code in one colour instead of taken from a theme: sharp at every size and device
// pixel ratio, fainter when disabled.
namespace DrawnIcon {

// Paints the icon into `square` in `color`.
using Painter = std::function<void(QPainter &painter, const QRectF &square, const QColor &color)>;

// `sizes` are offered to hosts that only take ready pixmaps, such as tray items.
QIcon make(Painter paint, const QColor &color, const QList<QSize> &sizes = {});

} // namespace DrawnIcon
