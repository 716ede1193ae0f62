// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FileDragButton.h"

#include <QDrag>
#include <QFileInfo>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

FileDragButton::FileDragButton(QWidget *parent)
    : QAbstractButton(parent)
{}

void FileDragButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractButton::mousePressEvent(event);
    m_pressedAt = event->position();
    m_tracker.press(event->position());
}

void FileDragButton::mouseMoveEvent(QMouseEvent *event)
{
    if (m_tracker.moveStartsDrag(event->position()))
        startDrag();
}

void FileDragButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractButton::mouseReleaseEvent(event);
    if (m_tracker.releaseIsClick(event->position()) && rect().contains(event->position().toPoint()))
        click();
}

void FileDragButton::startDrag()
{
    // A file gone since it was shown is not dragged, and the press is no click either.
    if (m_filePath.isEmpty() || !QFileInfo::exists(m_filePath))
        return;
    auto *mime = new QMimeData;
    mime->setUrls({QUrl::fromLocalFile(m_filePath)});
    auto *drag = new QDrag(this); // Qt deletes it when the drag is over
    drag->setMimeData(mime);
    const DragImage image = dragImage(m_pressedAt);
    drag->setPixmap(image.pixmap);
    drag->setHotSpot(image.hotSpot);
    emit dragStarted();
    drag->exec(Qt::CopyAction, Qt::CopyAction);
    m_tracker.reset();
    emit dragFinished();
}
