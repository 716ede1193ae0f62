// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/CaptureContext.h"

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
