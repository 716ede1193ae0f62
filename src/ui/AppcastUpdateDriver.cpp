#include "ui/AppcastUpdateDriver.h"

#include "renaming/FileManager.h"
#include "settings/PreferencesStore.h"
#include "ui/BuildConfiguration.h"
#include "ui/UiLog.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QStandardPaths>

#include <algorithm>

using namespace std::chrono_literals;

namespace {

const QString automaticChecksKey = QStringLiteral("automaticallyChecksForUpdates");
const QString lastCheckKey = QStringLiteral("lastUpdateCheck");
// The first check waits until start-up has settled.
constexpr qint64 firstCheckDelayMs = 60'000;
constexpr qint64 checkIntervalMs = 24 * 60 * 60 * 1000;
constexpr int progressSteps = 1000;

const QString dialogTitle = QStringLiteral("Software Update");

QMessageBox *messageBox(QMessageBox::Icon icon, const QString &text, const QString &informativeText)
{
    auto *box = new QMessageBox(icon, dialogTitle, text, QMessageBox::Close);
    box->setInformativeText(informativeText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    return box;
}

} // namespace

AppcastUpdateDriver::AppcastUpdateDriver(Setup setup, PreferencesStore &preferences, FileManager &fileManager,
                                         QObject *parent)
    : UpdateDriving(parent)
    , m_updater(std::move(setup.feed), setup.currentVersion, std::move(setup.downloadFolder))
    , m_preferences(preferences)
    , m_fileManager(fileManager)
    , m_currentVersion(std::move(setup.currentVersion))
    , m_appImagePath(std::move(setup.appImagePath))
{
    m_preferences.registerDefaults({{automaticChecksKey, true}});
    m_schedule.setSingleShot(true);
    connect(&m_schedule, &QTimer::timeout, &m_updater, &AppcastUpdater::check);
    connect(&m_updater, &AppcastUpdater::finished, this, &AppcastUpdateDriver::checkFinished);
    connect(&m_updater, &AppcastUpdater::downloadStarted, this, [this](const QString &version) {
        if (m_progress)
            m_progress->setLabelText(QStringLiteral("Downloading Quillo %1\u2026").arg(version));
    });
    connect(&m_updater, &AppcastUpdater::downloadProgress, this, [this](qint64 received, qint64 total) {
        if (m_progress) {
            m_progress->setMaximum(progressSteps);
            m_progress->setValue(int(received * progressSteps / std::max<qint64>(total, 1)));
        }
    });
}

std::unique_ptr<AppcastUpdateDriver>
AppcastUpdateDriver::fromBuildConfiguration(PreferencesStore &preferences, FileManager &fileManager)
{
    auto feed = UpdateFeed::fromConfiguration(BuildConfiguration::updateFeedUrl(),
                                              BuildConfiguration::updatePublicKey());
    if (!feed)
        return nullptr;
    Setup setup{std::move(*feed), BuildConfiguration::version(),
                QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                    QStringLiteral("/quillo/updates"),
                qEnvironmentVariable("APPIMAGE")};
    return std::make_unique<AppcastUpdateDriver>(std::move(setup), preferences, fileManager);
}

void AppcastUpdateDriver::start()
{
    if (QCoreApplication::instance())
        connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
                &AppcastUpdateDriver::installPendingUpdate);
    scheduleNextCheck();
}

void AppcastUpdateDriver::installPendingUpdate()
{
    if (m_appImagePath.isEmpty() || !m_updater.hasReadyUpdate())
        return;
    if (const auto error = m_updater.install(m_appImagePath))
        qCWarning(lcUpdate).noquote() << QStringLiteral("Update not installed: %1").arg(*error);
    else
        qCInfo(lcUpdate).noquote() << QStringLiteral("Installed the update into %1").arg(m_appImagePath);
}

bool AppcastUpdateDriver::automaticallyChecksForUpdates() const
{
    return m_preferences.boolValue(automaticChecksKey);
}

void AppcastUpdateDriver::setAutomaticallyChecksForUpdates(bool value)
{
    m_preferences.setBool(automaticChecksKey, value);
    // A running check goes on; only the next one is affected.
    scheduleNextCheck();
}

void AppcastUpdateDriver::checkForUpdates()
{
    if (m_progress)
        return;
    m_progress =
        new QProgressDialog(QStringLiteral("Checking for updates\u2026"), QStringLiteral("Cancel"), 0, 0);
    m_progress->setWindowTitle(dialogTitle);
    m_progress->setAttribute(Qt::WA_DeleteOnClose);
    m_progress->setMinimumDuration(0);
    m_progress->setAutoReset(false);
    m_progress->setAutoClose(false);
    connect(m_progress, &QProgressDialog::canceled, this, [this] {
        m_updater.cancel();
        closeProgress();
        scheduleNextCheck();
    });
    m_progress->show();
    emit canCheckForUpdatesChanged(false);
    // A check already running in the background is shown as this one.
    m_updater.check();
}

void AppcastUpdateDriver::scheduleNextCheck()
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

void AppcastUpdateDriver::checkFinished(const UpdateCheckResult &result)
{
    m_preferences.setString(lastCheckKey, QDateTime::currentDateTimeUtc().toString(Qt::ISODate));
    scheduleNextCheck();
    if (result.outcome == UpdateCheckResult::Outcome::Failed)
        qCWarning(lcUpdate).noquote() << QStringLiteral("Update check failed: %1").arg(result.error);
    else if (result.outcome == UpdateCheckResult::Outcome::Ready)
        qCInfo(lcUpdate).noquote() << QStringLiteral("Quillo %1 is downloaded and verified: %2")
                                          .arg(result.version, result.archivePath);
    if (m_progress) {
        closeProgress();
        showResult(result);
    } else if (result.outcome == UpdateCheckResult::Outcome::Ready && !installsAtQuit() &&
               result.version != m_offeredVersion) {
        showResult(result); // offered once per version while Quillo runs
    }
}

void AppcastUpdateDriver::closeProgress()
{
    // Closing a progress dialog reports it cancelled; that must not cancel anything now.
    m_progress->disconnect(this);
    m_progress->close();
    m_progress = nullptr;
    emit canCheckForUpdatesChanged(true);
}

void AppcastUpdateDriver::showResult(const UpdateCheckResult &result)
{
    QMessageBox *box = nullptr;
    switch (result.outcome) {
    case UpdateCheckResult::Outcome::UpToDate:
        box = messageBox(QMessageBox::Information, QStringLiteral("You\u2019re up to date"),
                         QStringLiteral("Quillo %1 is the newest version available.").arg(m_currentVersion));
        break;
    case UpdateCheckResult::Outcome::Failed:
        box = messageBox(QMessageBox::Warning, QStringLiteral("Could not check for updates"), result.error);
        break;
    case UpdateCheckResult::Outcome::Ready:
        m_offeredVersion = result.version;
        if (installsAtQuit()) {
            box =
                messageBox(QMessageBox::Information, QStringLiteral("Quillo %1 is ready").arg(result.version),
                           QStringLiteral("It has been downloaded and verified, and replaces this version "
                                          "when you quit Quillo."));
            break;
        }
        box =
            messageBox(QMessageBox::Information, QStringLiteral("Quillo %1 is available").arg(result.version),
                       QStringLiteral("It has been downloaded and verified: %1. Use it in place of this copy "
                                      "of Quillo.")
                           .arg(QFileInfo(result.archivePath).fileName()));
        QPushButton *show = box->addButton(QStringLiteral("Show in Folder"), QMessageBox::ActionRole);
        connect(show, &QPushButton::clicked, this, [this, path = result.archivePath] {
            m_fileManager.reveal(path);
        });
        break;
    }
    box->open();
}
