// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointF>

#include <optional>

// Tells a click from a drag: a press that moves 3 px or more from where it began becomes a drag,
// and from then on is no click, even when it is released where it started.
class DragClickTracker
{
public:
    static constexpr double dragDistance = 3.0;

    void press(const QPointF &at);
    // True once, at the move that turns the press into a drag.
    bool moveStartsDrag(const QPointF &to);
    // Whether the press ending here was a click. Resets.
    bool releaseIsClick(const QPointF &at);
    void reset();

private:
    std::optional<QPointF> m_start;
    bool m_isDragging = false;
};
