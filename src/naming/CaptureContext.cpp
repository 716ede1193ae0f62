// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/CaptureContext.h"

bool CaptureContext::isShownByQuillo(const QRectF &lineBox, QSize imageSize) const
{
    if (!quilloPanel || imageSize.isEmpty() || imageSize != quilloPanel->desktop)
        return false;
    const QPointF middle(lineBox.center().x() * imageSize.width(),
                         (1.0 - lineBox.center().y()) * imageSize.height());
    return QRectF(quilloPanel->area).contains(middle);
}

const QStringList &CaptureContext::ignoredAppIds()
{
    static const QStringList identifiers{QStringLiteral("org.quillo.Quillo"),
                                         QStringLiteral("org.gnome.Shell.Screenshot"),
                                         QStringLiteral("gnome-screenshot"),
                                         QStringLiteral("org.gnome.Screenshot"),
                                         QStringLiteral("org.kde.spectacle"),
                                         QStringLiteral("spectacle"),
                                         QStringLiteral("flameshot"),
                                         QStringLiteral("org.flameshot.Flameshot"),
                                         QStringLiteral("ksnip"),
                                         QStringLiteral("org.ksnip.ksnip"),
                                         QStringLiteral("quillo")};
    return identifiers;
}
