// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktopsearch/SearchProviderService.h"

#include <QDBusConnectionInterface>

SearchProviderService::SearchProviderService(QString indexPath, ResultActions &actions,
                                             std::chrono::milliseconds idleTime, QObject *parent)
    : QObject(parent)
    , m_search(std::move(indexPath))
    , m_gnome(m_search, actions)
    , m_krunner(m_search, actions)
{
    m_idleTimer.setSingleShot(true);
    m_idleTimer.setInterval(idleTime);
    connect(&m_idleTimer, &QTimer::timeout, this, &SearchProviderService::idle);
    const auto restart = [this] {
        m_idleTimer.start();
    };
    connect(&m_gnome, &GnomeSearchProvider::used, this, restart);
    connect(&m_krunner, &KRunnerProvider::used, this, restart);
}

std::optional<QString> SearchProviderService::publish(QDBusConnection connection)
{
    if (!connection.isConnected())
        return QStringLiteral("no session bus: %1") // not for people: the journal's
            .arg(connection.lastError().message());
    const auto options = QDBusConnection::ExportScriptableSlots;
    if (!connection.registerObject(QLatin1StringView(gnomePath), &m_gnome, options) ||
        !connection.registerObject(QLatin1StringView(krunnerPath), &m_krunner, options))
        return QStringLiteral("the search providers' objects are taken"); // not for people: the journal's
    // Objects first, so no call the bus hands over finds nothing to answer it.
    if (!connection.registerService(QLatin1StringView(busName)))
        return QStringLiteral("%1 is taken: %2") // not for people: the journal's
            .arg(QLatin1StringView(busName), connection.lastError().message());
    m_idleTimer.start();
    return std::nullopt;
}
