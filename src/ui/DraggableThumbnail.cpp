#include "ui/DraggableThumbnail.h"

#include "ui/PanelIcons.h"
#include "ui/PanelStyle.h"
#include "ui/Thumbnails.h"

#include <QDrag>
#include <QFileInfo>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QUrl>

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
    : QAbstractButton(parent)
{
    setToolTip(QStringLiteral("Click for Quick Look, or drag to attach file"));
    setCursor(Qt::PointingHandCursor);
}

void DraggableThumbnail::setImage(const QImage &image)
{
    if (image == m_image)
        return;
    m_image = image;
    update();
}

void DraggableThumbnail::setFilePath(const QString &filePath)
{
    m_filePath = filePath;
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

void DraggableThumbnail::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractButton::mousePressEvent(event);
    m_pressedAt = event->position();
    m_tracker.press(event->position());
}

void DraggableThumbnail::mouseMoveEvent(QMouseEvent *event)
{
    if (m_tracker.moveStartsDrag(event->position()))
        startDrag(m_pressedAt);
}

void DraggableThumbnail::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractButton::mouseReleaseEvent(event);
    if (m_tracker.releaseIsClick(event->position()))
        click();
}

void DraggableThumbnail::startDrag(const QPointF &pressedAt)
{
    // A file gone since the panel showed it is not dragged, and the press is no click either.
    if (m_filePath.isEmpty() || !QFileInfo::exists(m_filePath))
        return;
    auto *mime = new QMimeData;
    mime->setUrls({QUrl::fromLocalFile(m_filePath)});
    auto *drag = new QDrag(this); // Qt deletes it when the drag is over
    drag->setMimeData(mime);
    const qreal ratio = devicePixelRatio();
    QPixmap preview = m_image.isNull()
                          ? QPixmap::fromImage(Thumbnails::fileTypeIcon(m_filePath, int(height() * ratio)))
                          : dragPreview(m_image, size() * ratio);
    preview.setDevicePixelRatio(ratio);
    drag->setPixmap(preview);
    // The drag image starts exactly over the thumbnail.
    drag->setHotSpot(pressedAt.toPoint());
    emit dragStarted();
    drag->exec(Qt::CopyAction, Qt::CopyAction);
    m_tracker.reset();
    emit dragFinished();
}
