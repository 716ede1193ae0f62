// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "intake/ScreenshotWatcher.h"
#include "renaming/FileManager.h"
#include "renaming/RenameCoordinator.h"
#include "settings/ToolEnvironment.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class AppController;
class FolderAccess;
class CaptureContextSource;
class DesktopInterface;
class DirectoryChangeObserver;
class FileSystem;
class IndexWriter;
class PreferencesStore;
class RenameHistoryStore;
class SettingsStore;
class TakeOverChannel;
class UserPrompts;
class FileManager;
class QProcess;

// Everything the controller uses from the desktop, handed in so tests can replace any of it.
struct AppServices
{
    PreferencesStore &preferences;
    const FileSystem &fileSystem;
    CaptureContextSource &captureContext;
    FileManager &fileManager;
    UserPrompts &prompts;
    TakeOverChannel &takeOver;
    // Makes the namer for one screenshot from the settings at that moment.
    std::function<std::shared_ptr<ScreenshotNaming>(const SettingsStore &settings)> namerFactory;
    ScreenshotWatcher::EventSourceFactory eventSources;
    // The folder holding the screenshot tools' settings ($XDG_CONFIG_HOME).
    QString preferencesFolder;
    bool isSandboxed = false;
    // Makes the tray, panel and settings window once the controller's parts exist; absent without
    // a display.
    std::function<std::unique_ptr<DesktopInterface>(AppController &controller)> desktop;
    // Where the screenshot tools' settings and defaults are read; called at every refresh.
    std::function<ToolEnvironment()> toolEnvironment = &ToolEnvironment::system;
    // Quillo's own program: run as `PROGRAM index --recursive PATH...` to put back what a damaged search
    // index held. Empty: a damaged index stays empty until `quillo index` is run.
    QString indexRefiller = {};
};

// Creates the subsystems, connects them and carries out the user's top-level actions. Renames
// screenshots end to end without any interface; an interface plugs into the same signals.
// Main thread.
class AppController final : public QObject
{
    Q_OBJECT

public:
    explicit AppController(AppServices services, QObject *parent = nullptr);
    ~AppController() override;

    // The start-up sequence; call once the event loop is about to run. False, with nothing
    // started, when another copy runs and stays.
    bool start();
    // Stops watching and gives up folder access; call before quitting.
    void shutdown();

    // Shows what went wrong.
    void undo(const RenameRecord &record);
    // For the command line, which says what went wrong itself.
    RenameOutcome<QString> undoById(const QUuid &id);
    void reveal(const RenameRecord &record);
    // A screenshot that is not in the history, such as one a search found.
    void revealFile(const QString &filePath);
    // Drops the text of every screenshot from the search index (never a screenshot); `done` runs
    // on this thread afterwards.
    void clearSearchIndex(std::function<void()> done);
    // Once the user stopped the indexing: asks whether what is indexed goes too.
    void offerToClearSearchIndex(std::function<void()> done);
    void openWatchedFolder();
    void requestFolderAccess();
    void chooseCustomFolder();

    SettingsStore &settings() { return *m_settings; }
    RenameHistoryStore &history() { return *m_history; }
    FolderAccess &folderAccess() { return *m_folderAccess; }
    RenameCoordinator &coordinator() { return *m_coordinator; }
    PreferencesStore &preferences() { return m_services.preferences; }
    DesktopInterface *desktop() const { return m_desktop.get(); }
    bool isWatching() const;

signals:
    // Another copy of Quillo started; the caller quits.
    void quitRequested();
    // After an undo carried out here, for the interface to update.
    void renameUndone(const QUuid &id, const QString &restoredPath);

private:
    void refreshWatchedFolder(bool forceRestart, bool promptForAccess);
    // Follows the custom folder going away and coming back, to watch the tool's folder meanwhile.
    void observeCustomFolder();
    void updateWatcher(bool restart);
    void logWatchedFolders(const QList<WatchedFolder> &folders);
    void fileAppeared(const QString &path);
    // Warns the user when the folder may not be watched.
    bool isRefused(const QString &folder);
    void rememberWatchedFolder(const QString &folder);
    void observePreferencesFolder();
    void announceModelServer();
    // Shows `message` with the file manager's problem, if it has one.
    FileManager::Done warnUnless(const QString &message);
    RenameOutcome<QString> undone(const QUuid &id, RenameOutcome<QString> restored);
    // Said once at start: the settings file is read then.
    void announceRecognitionLanguages();
    // Indexes again, in the background, the screenshots of the watched folders and their category
    // folders, and those the history says Quillo named elsewhere, once a damaged index was started afresh.
    void refillIndex();

    AppServices m_services;
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<RenameHistoryStore> m_history;
    std::unique_ptr<FolderAccess> m_folderAccess;
    // Before the coordinator, which writes to it until it is gone.
    std::unique_ptr<IndexWriter> m_index;
    std::unique_ptr<RenameCoordinator> m_coordinator;
    std::vector<std::unique_ptr<ScreenshotWatcher>> m_watchers; // one per watched folder, in order
    std::unique_ptr<DesktopInterface> m_desktop;
    std::vector<std::unique_ptr<DirectoryChangeObserver>> m_preferencesObservers;
    std::unique_ptr<FolderEventSource> m_customFolderSource;
    QPointer<QProcess> m_indexRefill;
};
