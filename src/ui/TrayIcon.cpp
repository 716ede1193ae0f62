// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TrayIcon.h"

#include "ui/DrawnIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>
#include <numbers>

namespace {

constexpr double grid = 18.0;

// A four-pointed star: eight points every 45° counter-clockwise from straight up, alternately at
// the outer and the waist radius.
QPainterPath sparkle(QPointF center, double radius, double waist)
{
    QPainterPath path;
    for (int i = 0; i < 8; ++i) {
        const double angle = (90.0 + 45.0 * i) * std::numbers::pi / 180.0;
        const double r = i % 2 == 0 ? radius : waist;
        const QPointF point(center.x() + r * std::cos(angle), center.y() - r * std::sin(angle));
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    path.closeSubpath();
    return path;
}

void drawViewfinder(QPainter &painter, const QColor &color)
{
    painter.setPen(QPen(color, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    constexpr double inset = 1.75;
    constexpr double arm = 4.5;
    constexpr double far = grid - inset;
    QPainterPath corners;
    const auto bracket = [&](QPointF a, QPointF corner, QPointF b) {
        corners.moveTo(a);
        corners.lineTo(corner);
        corners.lineTo(b);
    };
    bracket({inset, inset + arm}, {inset, inset}, {inset + arm, inset});
    bracket({far - arm, inset}, {far, inset}, {far, inset + arm});
    bracket({inset, far - arm}, {inset, far}, {inset + arm, far});
    bracket({far - arm, far}, {far, far}, {far, far - arm});
    painter.drawPath(corners);
    painter.setPen(QPen(color, 1.0));
    painter.drawEllipse(QPointF(9, 9), 2.2, 2.2);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawEllipse(QPointF(9, 9), 0.8, 0.8);
    painter.drawPath(sparkle({5.3, 5.3}, 2.0, 0.5));
}

void drawCircled(QPainter &painter, const QColor &color)
{
    painter.setPen(QPen(color, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(9, 9), 7.0, 7.0);
}

void drawPaused(QPainter &painter, const QColor &color)
{
    drawCircled(painter, color);
    painter.setPen(QPen(color, 1.8, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(7, 6), QPointF(7, 12));
    painter.drawLine(QPointF(11, 6), QPointF(11, 12));
}

void drawWarning(QPainter &painter, const QColor &color)
{
    painter.setPen(QPen(color, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(QPolygonF({{9, 1.8}, {16.6, 15.6}, {1.4, 15.6}}));
    painter.setPen(QPen(color, 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(9, 6.5), QPointF(9, 10.5));
    painter.drawPoint(QPointF(9, 13.2));
}

void drawSparkles(QPainter &painter, const QColor &color)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawPath(sparkle({7.5, 10}, 6.5, 1.6));
    painter.drawPath(sparkle({14, 4}, 3.0, 0.8));
    painter.drawPath(sparkle({14.5, 14.5}, 2.2, 0.6));
}

void drawCheckmark(QPainter &painter, const QColor &color)
{
    drawCircled(painter, color);
    painter.setPen(QPen(color, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(QPolygonF({{5.6, 9.2}, {8.0, 11.6}, {12.6, 6.6}}));
}

} // namespace

namespace TrayIcon {

void draw(QPainter &painter, const QRectF &square, TrayState::Icon icon, const QColor &color)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const double side = std::min(square.width(), square.height());
    painter.translate(square.center() - QPointF(side / 2, side / 2));
    painter.scale(side / grid, side / grid);
    switch (icon) {
    case TrayState::Icon::Paused:
        drawPaused(painter, color);
        break;
    case TrayState::Icon::NeedsAccess:
    case TrayState::Icon::NotRenaming:
    case TrayState::Icon::CannotReadSafely:
        drawWarning(painter, color);
        break;
    case TrayState::Icon::Naming:
        drawSparkles(painter, color);
        break;
    case TrayState::Icon::Renamed:
        drawCheckmark(painter, color);
        break;
    case TrayState::Icon::Watching:
        drawViewfinder(painter, color);
        break;
    }
    painter.restore();
}

QIcon icon(TrayState::Icon icon, const QColor &color)
{
    // Tray hosts that take pixmaps (StatusNotifierItem) get these sizes; others ask for their own.
    return DrawnIcon::make(
        [icon](QPainter &painter, const QRectF &square, const QColor &tint) {
            draw(painter, square, icon, tint);
        },
        color, {{16, 16}, {22, 22}, {24, 24}, {32, 32}, {48, 48}, {64, 64}});
}

} // namespace TrayIcon
