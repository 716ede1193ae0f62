// SPDX-License-Identifier: GPL-3.0-or-later
#include "intake/ScreenshotWatcher.h"

#include "core/TextScanning.h"
#include "intake/CompleteImage.h"
#include "intake/IntakeLog.h"
#include "intake/PersistentFolderEventSource.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTimer>

#include <map>

using namespace std::chrono_literals;

namespace {

QString realPathOrClean(const QString &path)
{
    const QString real = QFileInfo(path).canonicalFilePath();
    return real.isEmpty() ? QDir::cleanPath(QDir::current().absoluteFilePath(path)) : real;
}

} // namespace

// Owns the event source and the files waiting out their settle time; all on the watcher thread.
class ScreenshotWatcher::Worker final : public QObject
{
public:
    Worker(EventSourceFactory createSource, std::function<void(const QString &)> report,
           std::function<void(const QString &)> reportDeleted,
           std::function<void(const QString &)> reportArriving)
        : m_createSource(std::move(createSource))
        , m_report(std::move(report))
        , m_reportDeleted(std::move(reportDeleted))
        , m_reportArriving(std::move(reportArriving))
    {}

    // Files still settling in the folder are kept when it is the one watched before.
    bool start(const QString &folder)
    {
        const QString watchedPath = realPathOrClean(folder);
        stop();
        if (watchedPath != m_watchedPath)
            m_suspended.clear();
        m_watchedPath = watchedPath;
        m_source = PersistentFolderEventSource::create(m_watchedPath, m_createSource,
                                                       PersistentFolderEventSource::IfMissing::Fail);
        if (!m_source)
            return false;
        m_source->setHandler([this](const FolderEvent &event) {
            handle(event);
        });
        qCInfo(lcIntake) << "Watching" << m_watchedPath;
        for (const QString &path : std::exchange(m_suspended, {}))
            schedule(path);
        return true;
    }

    // Files still settling are set aside for a later start on the same folder.
    void stop()
    {
        if (m_source)
            m_source->flush(); // a file that just arrived is settling, too
        m_source.reset();
        for (const auto &[path, timer] : m_pending)
            m_suspended.insert(path);
        m_pending.clear();
    }

private:
    void handle(const FolderEvent &event)
    {
        if (event.kind == FolderEventKind::Overflow) {
            qCWarning(lcIntake) << "Too many changes in" << m_watchedPath
                                << "at once; some new files were missed";
            return;
        }
        if (event.kind == FolderEventKind::FolderGone) {
            qCWarning(lcIntake) << "The watched folder" << m_watchedPath
                                << "is gone; watching for it to come back";
            return;
        }
        if (event.kind == FolderEventKind::FolderBack) {
            qCInfo(lcIntake) << "The watched folder" << m_watchedPath << "is back; watching it again";
            scheduleFilesAlreadyThere();
            return;
        }
        if (event.isDirectory)
            return;
        if (!event.isNameDecodable) {
            // Its path cannot be spelled to open it; the user should know why it keeps its name.
            if ((event.kind == FolderEventKind::Created || event.kind == FolderEventKind::MovedIn) &&
                !m_undecodableReported.contains(event.name)) {
                m_undecodableReported.insert(event.name);
                qCWarning(lcIntake).noquote()
                    << QStringLiteral("Cannot rename %1: its name is not valid UTF-8; rename it by hand")
                           .arg(TextScanning::escapedPath(QDir(m_watchedPath).filePath(event.name)));
            }
            return;
        }
        const QString path = QDir(m_watchedPath).filePath(event.name);
        if (event.kind == FolderEventKind::Deleted) {
            m_reportDeleted(path);
            return; // one still settling is skipped when its time is up
        }
        const auto pending = m_pending.find(path);
        // A file moved in whole or closed after writing need not wait for a writer that is done.
        const bool mayBeComplete =
            event.kind == FolderEventKind::MovedIn || event.kind == FolderEventKind::ClosedAfterWrite;
        // Tools often write in place, so each write of a pending file restarts its wait.
        if (pending != m_pending.end() && (event.kind == FolderEventKind::Modified || mayBeComplete)) {
            pending->second->start(mayBeComplete && CompleteImage::isComplete(path) ? 0ms : settleDelay);
            return;
        }
        // A file written again after its report comes back: a writer that stalled longer than the
        // settle time has finished it only now.
        if (event.kind != FolderEventKind::Created && event.kind != FolderEventKind::MovedIn &&
            event.kind != FolderEventKind::ClosedAfterWrite)
            return;
        if (pending != m_pending.end() || event.name.startsWith(u'.'))
            return;
        // The folder may have been replaced since the watch began (moved away, now a link).
        if (realPathOrClean(m_source->folderPath()) != m_watchedPath)
            return;
        if (event.kind == FolderEventKind::Created)
            m_reportArriving(path);
        schedule(path, mayBeComplete && CompleteImage::isComplete(path) ? 0ms : settleDelay);
    }

    // A folder that comes back may bring new files, or get them before it was watched again.
    void scheduleFilesAlreadyThere()
    {
        const QDir folder(m_watchedPath);
        for (const QString &name : folder.entryList(QDir::Files | QDir::System)) {
            const QString path = folder.filePath(name);
            if (!m_pending.contains(path))
                schedule(path);
        }
    }

    void schedule(const QString &path, std::chrono::milliseconds delay = settleDelay)
    {
        auto timer = std::make_unique<QTimer>();
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
        timer->setInterval(delay);
        connect(timer.get(), &QTimer::timeout, this, [this, path] {
            settle(path);
        });
        timer->start();
        m_pending.emplace(path, std::move(timer));
    }

    void settle(const QString &path)
    {
        const auto pending = m_pending.find(path);
        if (pending == m_pending.end())
            return;
        pending->second.release()->deleteLater(); // it is the sender of this call
        m_pending.erase(pending);
        if (QFileInfo::exists(path))
            m_report(path);
        else
            qCDebug(lcIntake) << "Skipping" << path << "which vanished while settling";
    }

    EventSourceFactory m_createSource;
    std::function<void(const QString &)> m_report;
    std::function<void(const QString &)> m_reportDeleted;
    std::function<void(const QString &)> m_reportArriving;
    std::unique_ptr<FolderEventSource> m_source;
    QString m_watchedPath;
    std::map<QString, std::unique_ptr<QTimer>> m_pending;
    QSet<QString> m_suspended; // settling when watching stopped
    QSet<QString> m_undecodableReported;
};

ScreenshotWatcher::ScreenshotWatcher(EventSourceFactory createSource, QObject *parent)
    : QObject(parent)
    , m_worker(new Worker(
          std::move(createSource),
          [this](const QString &path) {
              emit fileSettled(path);
          },
          [this](const QString &path) {
              emit fileDeleted(path);
          },
          [this](const QString &path) {
              emit fileArriving(path);
          }))
{
    m_thread.setObjectName(QStringLiteral("quillo-watcher"));
    m_worker->moveToThread(&m_thread);
    // Deferred deletions still run after the thread's loop ends, so the worker dies on its thread.
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.start();
}

ScreenshotWatcher::~ScreenshotWatcher()
{
    runOnWatcherThread([this] {
        m_worker->stop();
    });
    m_thread.quit();
    m_thread.wait();
}

void ScreenshotWatcher::start(const QString &folderPath)
{
    bool started = false;
    runOnWatcherThread([&] {
        started = m_worker->start(folderPath);
    });
    m_folder = started ? folderPath : QString();
}

void ScreenshotWatcher::stop()
{
    runOnWatcherThread([this] {
        m_worker->stop();
    });
    if (!m_folder.isEmpty())
        qCInfo(lcIntake) << "Stopped watching" << m_folder;
    m_folder.clear();
}

// Blocks until done; run directly when already there, where blocking would deadlock.
void ScreenshotWatcher::runOnWatcherThread(const std::function<void()> &work)
{
    if (QThread::currentThread() == &m_thread)
        work();
    else
        QMetaObject::invokeMethod(m_worker, work, Qt::BlockingQueuedConnection);
}
