// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktopsearch/DesktopSearch.h"
#include "desktopsearch/GnomeSearchProvider.h"
#include "desktopsearch/KRunnerProvider.h"

#include <QDBusConnection>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <optional>

// Both desktop search providers on the session bus under a name of their own, started by the
// bus when a desktop asks and gone after a while without questions. Main thread.
class SearchProviderService final : public QObject
{
    Q_OBJECT

public:
    static constexpr char busName[] = "org.quillo.Quillo.SearchProvider";
    static constexpr char gnomePath[] = "/org/quillo/Quillo/SearchProvider";
    static constexpr char krunnerPath[] = "/org/quillo/Quillo/KRunner";

    SearchProviderService(QString indexPath, ResultActions &actions, std::chrono::milliseconds idleTime,
                          QObject *parent = nullptr);

    // Offers both providers and takes the bus name; what went wrong, for the journal, when it could not.
    std::optional<QString> publish(QDBusConnection connection);

signals:
    // Nobody asked anything for the idle time.
    void idle();

private:
    DesktopSearch m_search;
    GnomeSearchProvider m_gnome;
    KRunnerProvider m_krunner;
    QTimer m_idleTimer;
};
