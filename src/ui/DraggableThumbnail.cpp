// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DraggableThumbnail.h"

#include "ui/PanelIcons.h"
#include "ui/PanelStyle.h"
#include "ui/Thumbnails.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr double cornerRadius = 8;
constexpr int placeholderSide = 18;

QPainterPath rounded(const QRectF &rect)
{
    QPainterPath path;
    path.addRoundedRect(rect, cornerRadius, cornerRadius);
    return path;
}

// Scaled to cover `target` and centred on it.
void drawFilling(QPainter &painter, const QImage &image, const QRectF &target)
{
    const double scale = std::max(target.width() / image.width(), target.height() / image.height());
    const QSizeF size(image.width() * scale, image.height() * scale);
    QRectF source(QPointF(), size);
    source.moveCenter(target.center());
    painter.drawImage(source, image);
}

} // namespace

DraggableThumbnail::DraggableThumbnail(QWidget *parent)
    : FileDragButton(parent)
{
    setToolTip(
        QCoreApplication::translate("DraggableThumbnail", "Click for Preview, or drag to attach file"));
    setCursor(Qt::PointingHandCursor);
}

void DraggableThumbnail::setImage(const QImage &image)
{
    if (image == m_image)
        return;
    m_image = image;
    update();
}

QPixmap DraggableThumbnail::dragPreview(const QImage &image, const QSize &size)
{
    if (image.isNull() || size.isEmpty())
        return QPixmap::fromImage(image);
    QPixmap preview(size);
    preview.fill(Qt::transparent);
    QPainter painter(&preview);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter.setClipPath(rounded(QRectF(QPointF(), size)));
    drawFilling(painter, image, QRectF(QPointF(), size));
    return preview;
}

void DraggableThumbnail::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    const QRectF area = QRectF(rect()).adjusted(0.25, 0.25, -0.25, -0.25);
    painter.setClipPath(rounded(area));
    if (m_image.isNull()) {
        painter.fillRect(area, PanelStyle::primary(palette(), 0.06));
        const QRect symbol(0, 0, placeholderSide, placeholderSide);
        PanelIcons::icon(PanelIcons::Symbol::Photo, PanelStyle::secondary(palette()))
            .paint(&painter, symbol.translated(rect().center() - symbol.center()));
    } else {
        drawFilling(painter, m_image, area);
    }
    painter.setClipping(false);
    painter.setPen(QPen(PanelStyle::primary(palette(), 0.15), 0.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(rounded(area));
}

FileDragButton::DragImage DraggableThumbnail::dragImage(const QPointF &pressedAt) const
{
    const qreal ratio = devicePixelRatio();
    QPixmap preview = m_image.isNull()
                          ? QPixmap::fromImage(Thumbnails::fileTypeIcon(filePath(), int(height() * ratio)))
                          : dragPreview(m_image, size() * ratio);
    preview.setDevicePixelRatio(ratio);
    // The drag image starts exactly over the thumbnail.
    return {preview, pressedAt.toPoint()};
}
