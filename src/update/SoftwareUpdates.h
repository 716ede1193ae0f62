// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "update/AppcastUpdater.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <optional>

class PreferencesStore;

// Quillo's updater: checks the feed once a day while Quillo runs (when allowed), downloads and
// verifies in the background, replaces the running AppImage when Quillo quits, and otherwise offers
// the verified download. Without a feed (a build that names none) every update feature is inactive:
// checks never start and the setting reads on. Decides what the user is shown; the dialogs only
// show it. Main thread.
class SoftwareUpdates final : public QObject
{
    Q_OBJECT

public:
    struct Setup
    {
        UpdateFeed feed;
        QString currentVersion;
        QString downloadFolder;
        QString appImagePath; // the AppImage Quillo runs from; empty when it does not
    };

    SoftwareUpdates(std::optional<Setup> setup, PreferencesStore &preferences, QObject *parent = nullptr);
    ~SoftwareUpdates() override;

    // The build's feed and key, $APPIMAGE and the cache folder; inactive when the build names no feed
    // or no key.
    static std::unique_ptr<SoftwareUpdates> fromBuildConfiguration(PreferencesStore &preferences);

    bool isActive() const { return m_updater != nullptr; }
    // Starts the daily checks, and installation when Quillo quits.
    void start();

    bool automaticallyChecksForUpdates() const;
    void setAutomaticallyChecksForUpdates(bool value);
    bool canCheckForUpdates() const { return m_updater && !m_userCheckRunning; }
    // A check the user sees from its start to its result.
    void checkForUpdates();
    void cancelCheck();

    // For the settings window's note; empty when inactive.
    QString feedHost() const;
    // Whether a verified update replaces the program when it quits, or is only offered.
    bool installsAtQuit() const { return !m_appImagePath.isEmpty(); }
    const QString &currentVersion() const { return m_currentVersion; }

signals:
    void automaticallyChecksForUpdatesChanged(bool value);
    void canCheckForUpdatesChanged(bool value);
    // Progress of a check the user started.
    void checkStarted();
    void downloadStarted(const QString &version);
    void downloadProgress(qint64 received, qint64 total);
    void checkEnded();
    // A result the user is to see: the end of a check they started, or a new version offered once.
    void resultToShow(const UpdateCheckResult &result);

private:
    void scheduleNextCheck();
    void checkFinished(const UpdateCheckResult &result);
    void endUserCheck();
    void installPendingUpdate();

    std::unique_ptr<AppcastUpdater> m_updater;
    PreferencesStore &m_preferences;
    QString m_currentVersion;
    QString m_appImagePath;
    QTimer m_schedule;
    bool m_userCheckRunning = false;
    QString m_offeredVersion;
};
