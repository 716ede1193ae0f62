// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/DragClickTracker.h"

#include <QAbstractButton>
#include <QPixmap>

// A button that is also a file's drag source: a press released within 3 px inside it emits
// `clicked`; one that moves 3 px drags the file out (text/uri-list, copy only) if the file still
// exists, and is no click either way. Main thread.
class FileDragButton : public QAbstractButton
{
    Q_OBJECT

public:
    explicit FileDragButton(QWidget *parent = nullptr);

    // The file a drag carries; checked when the drag begins.
    void setFilePath(const QString &filePath) { m_filePath = filePath; }
    const QString &filePath() const { return m_filePath; }

signals:
    void dragStarted();
    void dragFinished();

protected:
    struct DragImage
    {
        QPixmap pixmap;
        QPoint hotSpot; // where the pointer holds it, in the pixmap's device-independent pixels
    };
    // What the drag shows, for a press that began at `pressedAt`.
    virtual DragImage dragImage(const QPointF &pressedAt) const = 0;

    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void startDrag();

    QString m_filePath;
    DragClickTracker m_tracker;
    QPointF m_pressedAt;
};
