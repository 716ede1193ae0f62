// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PanelPlacement.h"

#include <cmath>

namespace {

constexpr int topGap = 2;

} // namespace

QPoint PanelPlacement::topCentre(const QPoint &pointer, const QList<Screen> &screens, const QSize &size)
{
    if (screens.isEmpty())
        return {};
    Screen screen = screens.first();
    for (const Screen &candidate : screens) {
        if (candidate.geometry.contains(pointer)) {
            screen = candidate;
            break;
        }
    }
    const double centre = screen.geometry.x() + screen.geometry.width() / 2.0;
    return {int(std::lround(centre - size.width() / 2.0)), screen.available.top() + topGap};
}
