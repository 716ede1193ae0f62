// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/FileDragButton.h"

#include <QImage>

// A screenshot's thumbnail that is both a button and a drag source: a click emits `clicked`, a
// press that moves 3 px drags the file itself out, shown as the thumbnail. Main thread.
class DraggableThumbnail final : public FileDragButton
{
    Q_OBJECT

public:
    explicit DraggableThumbnail(QWidget *parent = nullptr);

    void setImage(const QImage &image);

    // The picture cropped (not squashed) to fill `size`, with rounded corners.
    static QPixmap dragPreview(const QImage &image, const QSize &size);

protected:
    void paintEvent(QPaintEvent *event) override;
    DragImage dragImage(const QPointF &pressedAt) const override;

private:
    QImage m_image;
};
