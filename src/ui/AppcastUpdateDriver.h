#pragma once

#include "ui/AppcastUpdater.h"
#include "ui/UpdateDriving.h"

#include <QPointer>
#include <QProgressDialog>
#include <QTimer>

#include <memory>

class PreferencesStore;
class FileManager;

// The updater behind the settings window and the menu: checks the feed once a day while Quillo runs
// (when allowed), downloads and verifies in the background, replaces the running AppImage when Quillo
// quits, and otherwise offers the verified download. A check the user starts shows progress and the
// result in Quillo's own dialogs. Main thread.
class AppcastUpdateDriver final : public UpdateDriving
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

    AppcastUpdateDriver(Setup setup, PreferencesStore &preferences, FileManager &fileManager,
                        QObject *parent = nullptr);

    // The build's feed and key, $APPIMAGE and the cache folder; nothing when the build names no feed
    // or no key.
    static std::unique_ptr<AppcastUpdateDriver> fromBuildConfiguration(PreferencesStore &preferences,
                                                                       FileManager &fileManager);

    // Starts the daily checks and installation at quit.
    void start();
    // Replaces the AppImage with a verified update, if there is one; called when Quillo quits.
    void installPendingUpdate();

    bool automaticallyChecksForUpdates() const override;
    void setAutomaticallyChecksForUpdates(bool value) override;
    bool canCheckForUpdates() const override { return !m_progress; }
    void checkForUpdates() override;
    QString feedHost() const override { return m_updater.feed().url.host(); }
    bool installsAtQuit() const override { return !m_appImagePath.isEmpty(); }

private:
    void scheduleNextCheck();
    void checkFinished(const UpdateCheckResult &result);
    void closeProgress();
    void showResult(const UpdateCheckResult &result);

    AppcastUpdater m_updater;
    PreferencesStore &m_preferences;
    FileManager &m_fileManager;
    QString m_currentVersion;
    QString m_appImagePath;
    QTimer m_schedule;
    QPointer<QProgressDialog> m_progress; // open while a check the user started runs
    QString m_offeredVersion;
};
