// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/TakeOverChannel.h"

#include <QDBusContext>

// The take-over as a method call, TakeOver() at /org/quillo/Quillo/TakeOver on the bus name's
// owner. The running copy leaves only when the caller's process runs its own executable, so no
// other program on the session bus can make Quillo quit. Without a session bus nothing is asked
// (logged once).
class DBusTakeOverChannel final : public TakeOverChannel, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.quillo.Quillo.TakeOver")

public:
    using TakeOverChannel::TakeOverChannel;

    bool announce() override;

public slots:
    Q_SCRIPTABLE void TakeOver();
};
