// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/StandInTrayHost.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QTest>

#include <functional>

namespace {

const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");

bool isOnBus()
{
    QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
    return bus && bus->isServiceRegistered(watcherService);
}

} // namespace

StandInTrayHost::StandInTrayHost()
{
    m_process.setProcessChannelMode(QProcess::ForwardedChannels);
    m_process.start(QStringLiteral(QUILLO_STAND_IN_TRAY_HOST), {});
    m_ready = m_process.waitForStarted(5000) && QTest::qWaitFor(isOnBus, 5000);
}

StandInTrayHost::~StandInTrayHost()
{
    m_process.terminate();
    m_process.waitForFinished(5000);
    // Gone from the bus before the next one starts.
    if (!QTest::qWaitFor(std::not_fn(isOnBus), 5000))
        qWarning("the stand-in tray host is still on the bus");
}

QStringList StandInTrayHost::registeredItems() const
{
    QDBusInterface watcher(watcherService, QStringLiteral("/StatusNotifierWatcher"), watcherService);
    return watcher.property("RegisteredStatusNotifierItems").toStringList();
}
