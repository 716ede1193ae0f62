// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DragClickTracker.h"

#include <QLineF>

void DragClickTracker::press(const QPointF &at)
{
    m_start = at;
    m_isDragging = false;
}

bool DragClickTracker::moveStartsDrag(const QPointF &to)
{
    if (!m_start || m_isDragging || QLineF(*m_start, to).length() < dragDistance)
        return false;
    m_isDragging = true;
    return true;
}

bool DragClickTracker::releaseIsClick(const QPointF &at)
{
    const bool wasDragging = m_isDragging;
    const std::optional<QPointF> start = m_start;
    reset();
    // A release after a drag, or without a press, is no click.
    return !wasDragging && start && QLineF(*start, at).length() < dragDistance;
}

void DragClickTracker::reset()
{
    m_start.reset();
    m_isDragging = false;
}
