#pragma once

#include "ui/DragClickTracker.h"

#include <QAbstractButton>
#include <QImage>

// A screenshot's thumbnail that is both a button and a drag source: a click emits `clicked`, a
// press that moves 3 px drags the file itself out (text/uri-list, copy only). Main thread.
class DraggableThumbnail final : public QAbstractButton
{
    Q_OBJECT

public:
    explicit DraggableThumbnail(QWidget *parent = nullptr);

    void setImage(const QImage &image);
    // The file a drag carries; checked when the drag begins.
    void setFilePath(const QString &filePath);

    // The picture cropped (not squashed) to fill `size`, with rounded corners.
    static QPixmap dragPreview(const QImage &image, const QSize &size);

signals:
    void dragStarted();
    void dragFinished();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void startDrag(const QPointF &pressedAt);

    QImage m_image;
    QString m_filePath;
    DragClickTracker m_tracker;
    QPointF m_pressedAt;
};
