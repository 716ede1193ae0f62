// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

// Where the rename panel appears, decided from plain values so it is tested without a screen.
namespace PanelPlacement {

struct Screen
{
    QRect geometry;
    QRect available; // without panels and docks
};

// The origin of a window of `size` at the top centre of the screen under the pointer, just below
// the top of its usable area; the first screen (the primary one) when the pointer is on none.
QPoint topCentre(const QPoint &pointer, const QList<Screen> &screens, const QSize &size);

} // namespace PanelPlacement
