// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PanelIcons.h"

#include "ui/DrawnIcon.h"

#include <QPainter>
#include <QPainterPath>

namespace {

using PanelIcons::Symbol;

QString themeName(Symbol symbol)
{
    switch (symbol) {
    case Symbol::Warning:
        return QStringLiteral("dialog-warning");
    case Symbol::Pencil:
        return QStringLiteral("document-edit");
    case Symbol::Folder:
        return QStringLiteral("folder");
    case Symbol::Undo:
        return QStringLiteral("edit-undo");
    case Symbol::Reveal:
        return QStringLiteral("system-search");
    case Symbol::Close:
        return QStringLiteral("window-close");
    case Symbol::ChevronLeft:
        return QStringLiteral("go-previous");
    case Symbol::ChevronRight:
        return QStringLiteral("go-next");
    case Symbol::Photo:
        return QStringLiteral("image-x-generic");
    case Symbol::Document:
        return QStringLiteral("text-x-generic");
    case Symbol::Checkmark:
    case Symbol::ChevronUpDown:
        break;
    }
    return {};
}

// Draws on a 16 by 16 grid; the icon scales it to whatever size is asked for.
void draw(QPainter &p, Symbol symbol, const QColor &color)
{
    QPen pen(color, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const QPen knockout(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    switch (symbol) {
    case Symbol::Checkmark:
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawEllipse(QRectF(1, 1, 14, 14));
        p.setPen(knockout);
        p.drawPolyline(QPolygonF{{4.6, 8.2}, {7.0, 10.6}, {11.4, 5.6}});
        break;
    case Symbol::Warning: {
        QPainterPath triangle;
        triangle.moveTo(8, 1.5);
        triangle.lineTo(15, 14.5);
        triangle.lineTo(1, 14.5);
        triangle.closeSubpath();
        p.setPen(QPen(color, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(color);
        p.drawPath(triangle);
        p.setPen(knockout);
        p.drawLine(QPointF(8, 6), QPointF(8, 9.6));
        p.drawPoint(QPointF(8, 12.2));
        break;
    }
    case Symbol::Pencil:
        p.drawPolygon(QPolygonF{{11, 2.5}, {13.5, 5}, {5.5, 13}, {2.5, 13.5}, {3, 10.5}});
        p.drawLine(QPointF(9.5, 4), QPointF(12, 6.5));
        break;
    case Symbol::Folder: {
        QPainterPath folder;
        folder.moveTo(1.5, 3.5);
        folder.lineTo(6, 3.5);
        folder.lineTo(7.5, 5);
        folder.lineTo(14.5, 5);
        folder.lineTo(14.5, 13.5);
        folder.lineTo(1.5, 13.5);
        folder.closeSubpath();
        p.setBrush(color);
        p.drawPath(folder);
        break;
    }
    case Symbol::Undo: {
        QPainterPath arrow;
        arrow.moveTo(3, 6.5);
        arrow.lineTo(10, 6.5);
        arrow.cubicTo(15, 6.5, 15, 13.5, 10, 13.5);
        arrow.lineTo(7, 13.5);
        p.drawPath(arrow);
        p.drawPolyline(QPolygonF{{6, 3.5}, {3, 6.5}, {6, 9.5}});
        break;
    }
    case Symbol::Reveal:
        p.drawEllipse(QRectF(2, 2, 8.5, 8.5));
        p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
        break;
    case Symbol::Close:
        p.drawLine(QPointF(4.5, 4.5), QPointF(11.5, 11.5));
        p.drawLine(QPointF(11.5, 4.5), QPointF(4.5, 11.5));
        break;
    case Symbol::ChevronLeft:
        p.drawPolyline(QPolygonF{{10, 3}, {5, 8}, {10, 13}});
        break;
    case Symbol::ChevronRight:
        p.drawPolyline(QPolygonF{{6, 3}, {11, 8}, {6, 13}});
        break;
    case Symbol::ChevronUpDown:
        p.drawPolyline(QPolygonF{{5, 6}, {8, 3}, {11, 6}});
        p.drawPolyline(QPolygonF{{5, 10}, {8, 13}, {11, 10}});
        break;
    case Symbol::Photo:
        p.drawRoundedRect(QRectF(1.5, 2.5, 13, 11), 2, 2);
        p.drawPolyline(QPolygonF{{2, 12}, {6, 8}, {9, 11}, {11, 9}, {14, 12}});
        p.drawEllipse(QPointF(10.5, 6), 1.2, 1.2);
        break;
    case Symbol::Document:
        p.drawPolygon(QPolygonF{{3, 1.5}, {10, 1.5}, {13, 4.5}, {13, 14.5}, {3, 14.5}});
        p.drawPolyline(QPolygonF{{10, 1.5}, {10, 4.5}, {13, 4.5}});
        break;
    }
}

} // namespace

QIcon PanelIcons::icon(Symbol symbol, const QColor &color)
{
    const QIcon drawn = DrawnIcon::make(
        [symbol](QPainter &painter, const QRectF &square, const QColor &tint) {
            painter.translate(square.topLeft());
            painter.scale(square.width() / 16.0, square.height() / 16.0);
            draw(painter, symbol, tint);
        },
        color);
    const QString name = themeName(symbol);
    return name.isEmpty() ? drawn : QIcon::fromTheme(name, drawn);
}
