// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/SoftwareUpdates.h"

#include "settings/PreferencesStore.h"
#include "update/BuildConfiguration.h"
#include "update/UpdateLog.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QStandardPaths>

#include <algorithm>

namespace {

const QString automaticChecksKey = QStringLiteral("automaticallyChecksForUpdates");
const QString lastCheckKey = QStringLiteral("lastUpdateCheck");
// The first check waits until start-up has settled.
constexpr qint64 firstCheckDelayMs = 60'000;
constexpr qint64 checkIntervalMs = 24 * 60 * 60 * 1000;

} // namespace

SoftwareUpdates::SoftwareUpdates(std::optional<Setup> setup, PreferencesStore &preferences, QObject *parent)
    : QObject(parent)
    , m_preferences(preferences)
{
    m_preferences.registerDefaults({{automaticChecksKey, true}});
    if (!setup)
        return;
    m_currentVersion = setup->currentVersion;
    m_appImagePath = std::move(setup->appImagePath);
    m_updater = std::make_unique<AppcastUpdater>(std::move(setup->feed), setup->currentVersion,
                                                 std::move(setup->downloadFolder));
    m_schedule.setSingleShot(true);
    connect(&m_schedule, &QTimer::timeout, m_updater.get(), &AppcastUpdater::check);
    connect(m_updater.get(), &AppcastUpdater::finished, this, &SoftwareUpdates::checkFinished);
    connect(m_updater.get(), &AppcastUpdater::downloadStarted, this, [this](const QString &version) {
        if (m_userCheckRunning)
            emit downloadStarted(version);
    });
    connect(m_updater.get(), &AppcastUpdater::downloadProgress, this, [this](qint64 received, qint64 total) {
        if (m_userCheckRunning)
            emit downloadProgress(received, total);
    });
}

SoftwareUpdates::~SoftwareUpdates() = default;

std::unique_ptr<SoftwareUpdates> SoftwareUpdates::fromBuildConfiguration(PreferencesStore &preferences)
{
    std::optional<Setup> setup;
    if (auto feed = UpdateFeed::fromConfiguration(BuildConfiguration::updateFeedUrl(),
                                                  BuildConfiguration::updatePublicKey()))
        setup = Setup{std::move(*feed), BuildConfiguration::version(),
                      QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                          QStringLiteral("/quillo/updates"),
                      qEnvironmentVariable("APPIMAGE")};
    return std::make_unique<SoftwareUpdates>(std::move(setup), preferences);
}

void SoftwareUpdates::start()
{
    if (!m_updater)
        return;
    if (QCoreApplication::instance())
        connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
                &SoftwareUpdates::installPendingUpdate);
    scheduleNextCheck();
}

void SoftwareUpdates::installPendingUpdate()
{
    if (m_appImagePath.isEmpty() || !m_updater->hasReadyUpdate())
        return;
    if (const auto error = m_updater->install(m_appImagePath))
        qCWarning(lcUpdate).noquote() << QStringLiteral("Update not installed: %1").arg(*error);
    else
        qCInfo(lcUpdate).noquote() << QStringLiteral("Installed the update into %1").arg(m_appImagePath);
}

bool SoftwareUpdates::automaticallyChecksForUpdates() const
{
    return !m_updater || m_preferences.boolValue(automaticChecksKey);
}

void SoftwareUpdates::setAutomaticallyChecksForUpdates(bool value)
{
    if (!m_updater)
        return;
    m_preferences.setBool(automaticChecksKey, value);
    // A running check goes on; only the next one is affected.
    scheduleNextCheck();
    emit automaticallyChecksForUpdatesChanged(value);
}

void SoftwareUpdates::checkForUpdates()
{
    if (!canCheckForUpdates())
        return;
    m_userCheckRunning = true;
    emit checkStarted();
    emit canCheckForUpdatesChanged(false);
    // A check already running in the background is shown as this one.
    m_updater->check();
}

void SoftwareUpdates::cancelCheck()
{
    if (!m_userCheckRunning)
        return;
    m_updater->cancel();
    endUserCheck();
    scheduleNextCheck();
}

QString SoftwareUpdates::feedHost() const
{
    return m_updater ? m_updater->feed().url.host() : QString();
}

void SoftwareUpdates::scheduleNextCheck()
{
    m_schedule.stop();
    if (!automaticallyChecksForUpdates())
        return;
    const QDateTime last =
        QDateTime::fromString(m_preferences.stringValue(lastCheckKey).value_or(QString()), Qt::ISODate);
    const qint64 untilDue = last.isValid()
                                ? QDateTime::currentDateTimeUtc().msecsTo(last.addMSecs(checkIntervalMs))
                                : firstCheckDelayMs;
    m_schedule.start(std::chrono::milliseconds(std::clamp(untilDue, firstCheckDelayMs, checkIntervalMs)));
}

void SoftwareUpdates::checkFinished(const UpdateCheckResult &result)
{
    m_preferences.setString(lastCheckKey, QDateTime::currentDateTimeUtc().toString(Qt::ISODate));
    scheduleNextCheck();
    if (result.outcome == UpdateCheckResult::Outcome::Failed)
        qCWarning(lcUpdate).noquote() << QStringLiteral("Update check failed: %1").arg(result.error);
    else if (result.outcome == UpdateCheckResult::Outcome::Ready)
        qCInfo(lcUpdate).noquote() << QStringLiteral("Quillo %1 is downloaded and verified: %2")
                                          .arg(result.version, result.archivePath);
    const bool userAsked = m_userCheckRunning;
    if (userAsked)
        endUserCheck();
    const bool isReady = result.outcome == UpdateCheckResult::Outcome::Ready;
    // A version found in the background is offered once while Quillo runs.
    if (!userAsked && (!isReady || installsAtQuit() || result.version == m_offeredVersion))
        return;
    if (isReady)
        m_offeredVersion = result.version;
    emit resultToShow(result);
}

void SoftwareUpdates::endUserCheck()
{
    m_userCheckRunning = false;
    emit checkEnded();
    emit canCheckForUpdatesChanged(true);
}
