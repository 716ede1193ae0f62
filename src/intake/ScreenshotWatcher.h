// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "intake/FolderEventSource.h"

#include <QObject>
#include <QThread>

#include <chrono>
#include <functional>
#include <memory>

// Watches one folder for new files (created there or renamed into it, not hidden, not folders,
// not in subfolders) and reports each once it has settled: 600 ms after it appeared or was last
// written, and only if it still exists then. An image moved in whole or closed after writing, and
// complete (see CompleteImage), is reported at once. A file written and closed again after its
// report is reported again. A folder that is deleted or moved away is watched
// again once a folder is back at its path; files it holds then count as new.
//
// Threads: the object belongs to the thread that creates it, which calls start(), stop() and
// isRunning(). Event handling runs on the watcher's own thread, and fileSettled() is emitted
// there; connect with a receiver on your thread to have it queued to you.
class ScreenshotWatcher final : public QObject
{
    Q_OBJECT

public:
    // Called on the watcher's thread, so that the source delivers its events there.
    using EventSourceFactory = std::function<std::unique_ptr<FolderEventSource>(const QString &folderPath)>;

    explicit ScreenshotWatcher(EventSourceFactory createSource, QObject *parent = nullptr);
    ~ScreenshotWatcher() override;

    // (Re)starts on `folderPath`. Files still settling when watching last stopped or restarted are
    // kept when it is the same folder, and forgotten otherwise. When the folder cannot be watched
    // the watcher stays stopped (logged). Returns once events are being read.
    void start(const QString &folderPath);
    // Stops watching; files still settling are reported only after a start on the same folder.
    void stop();
    bool isRunning() const { return !m_folder.isEmpty(); }
    // The folder as passed to start(); empty while stopped.
    QString folder() const { return m_folder; }

    static constexpr std::chrono::milliseconds settleDelay{600};

signals:
    // `path` is in the folder's real path (symbolic links resolved).
    void fileSettled(const QString &path);
    // A file was created in the folder, to be reported once it has settled. Emitted on the watcher's
    // thread.
    void fileArriving(const QString &path);
    // A file of the folder was deleted (not moved away).
    void fileDeleted(const QString &path);

private:
    class Worker;

    void runOnWatcherThread(const std::function<void()> &work);

    QThread m_thread;
    Worker *m_worker = nullptr; // lives on m_thread
    QString m_folder;
};
