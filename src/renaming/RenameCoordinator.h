// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "intake/ScreenshotDetector.h"
#include "naming/ScreenshotNaming.h"
#include "renaming/RenameRecord.h"
#include "renaming/UndoError.h"
#include "settings/ScreenshotToolSettings.h"

#include <QFuture>
#include <QObject>
#include <QSet>
#include <QTimeZone>

#include <chrono>
#include <functional>
#include <memory>

class FileSystem;
class IndexWriter;
class RenameHistoryStore;
class SettingsStore;

// A file the user asked to have named, with the name made for it while it held `identity`.
struct NamedFile
{
    QString path;
    FileIdentity identity;
    QString root; // where category folders are made
    NamingSuggestion suggestion;
    QString text = {}; // what was read on it, for the search index
};

// Takes each reported file, decides whether it is a fresh screenshot, has it named, and renames or
// moves it to a free name; also changes and undoes renames. Lives on the main thread; only the
// namer works elsewhere. A file is never overwritten: targets are claimed before every move and
// the move itself refuses an existing name. A file that cannot be named is left as it is (logged);
// one that could not be decoded may still be being written, and is tried once more after a while.
class RenameCoordinator final : public QObject
{
    Q_OBJECT

public:
    // Called once per rename, on the main thread.
    using NamerProvider = std::function<std::shared_ptr<ScreenshotNaming>()>;
    // The instant ages and records are measured by, and the zone a date suffix is read in.
    struct Clock
    {
        std::function<QDateTime()> now;
        std::function<QTimeZone()> zone;

        static Clock system();
    };

    RenameCoordinator(SettingsStore &settings, RenameHistoryStore &history, NamerProvider namerProvider,
                      const FileSystem &fileSystem, Clock now, QObject *parent = nullptr);

    static constexpr std::chrono::milliseconds defaultRetryDelay{5000};
    void setRetryDelay(std::chrono::milliseconds delay) { m_retryDelay = delay; }

    // Finishes with the record of the rename, or nothing when the file was skipped, vanished or
    // could not be renamed.
    QFuture<std::optional<RenameRecord>> handleNewFile(const QString &path, const CaptureContext &context);

    // A file by this path is being written; when its name is a screenshot's, naming gets ready for it.
    void fileArriving(const QString &path);

    // Gives a renamed file a new base name (absent keeps it) and/or folder.
    RenameOutcome<RenameRecord> relocate(const RenameRecord &record, const QString &folder,
                                         const std::optional<QString> &baseName);
    // Puts the file back under its original name (name-2 when that is taken); returns its path.
    RenameOutcome<QString> undo(const RenameRecord &record);
    // The same for the history's record with this id.
    RenameOutcome<QString> undo(const QUuid &id);

    // The watcher's rules without the age limit or the pause, for files the user names on purpose.
    DetectionVerdict requestedFileVerdict(const ScreenshotCandidate &candidate) const;
    // Where `file` would be renamed to now; paths in `planned` count as taken.
    QString plannedPath(const NamedFile &file, const QSet<QString> &planned) const;
    // Renames `file` unless it changed since it was named or Quillo named it meanwhile
    // (UndoError::alreadyNamed).
    RenameOutcome<RenameRecord> renameNamed(const NamedFile &file);

    // Files taken up or produced in this run, and every file in the history.
    QSet<QString> processedPaths() const;

    int activeCount() const { return m_activeCount; }
    // The first watched folder; files are taken up only directly in one of them.
    std::optional<QString> watchedFolder() const;
    void setWatchedFolders(const QList<WatchedFolder> &folders);
    // One folder, with no tool's names of its own.
    void setWatchedFolder(const std::optional<QString> &folder);
    const ScreenshotDetector &detector() const { return m_detector; }
    // Renames, moves and undos are passed on to the search index, when there is one.
    void setIndex(IndexWriter *index) { m_index = index; }
    void setDetector(const ScreenshotDetector &detector) { m_detector = detector; }

signals:
    void activityChanged(int activeCount);
    // After the record is in the history.
    void renamed(const RenameRecord &record);
    // Renames stop while the history cannot be saved, and go on once it can.
    void recordingProblemChanged(const std::optional<QString> &problem);
    // Nothing is read while no reading process can shut itself in; the next file read clears it.
    void readingProblemChanged(const std::optional<QString> &problem);

private:
    QFuture<std::optional<RenameRecord>> rename(const ScreenshotCandidate &candidate, const QString &root,
                                                const CaptureContext &context);
    struct Target
    {
        QString folder;
        QString baseName;
        QString pathExtension;
    };

    void leaveAsItIs(const ScreenshotCandidate &candidate, const NamingResult &result,
                     const CaptureContext &context);
    void noteReading(const NamingResult &result);
    RenameOutcome<RenameRecord> finishRename(const ScreenshotCandidate &candidate, const QString &root,
                                             const NamingSuggestion &suggestion,
                                             const RoutingConfiguration &routing);
    Target target(const ScreenshotCandidate &candidate, const QString &root,
                  const NamingSuggestion &suggestion, const RoutingConfiguration &routing) const;
    QString destinationFolder(const QString &root, ScreenshotCategory category,
                              const RoutingConfiguration &routing) const;
    RenameOutcome<QString> move(const QString &source, const QString &folder, const QString &baseName,
                                const QString &pathExtension);
    QString freeTarget(const QString &folder, const QString &baseName, const QString &pathExtension,
                       const QSet<QString> &planned = {}) const;
    void changeActiveCount(int delta);
    void indexRenamed(const RenameRecord &record, ScreenshotCategory category, const QString &text,
                      const CaptureContext &context);
    void indexMoved(const QString &from, const QString &to);

    SettingsStore &m_settings;
    RenameHistoryStore &m_history;
    NamerProvider m_namerProvider;
    const FileSystem &m_fileSystem;
    Clock m_clock;
    ScreenshotDetector m_detector;
    struct Root
    {
        QString path;
        QString canonical;
        QList<QRegularExpression> names; // the tools' names in this folder
    };
    const Root *rootOf(const QString &path) const;
    // The detector that also knows the names the folder's own tools give.
    ScreenshotDetector detectorFor(const Root &root) const;
    std::optional<FileIdentity> identityOf(const QString &path) const;
    // Whether the file at the record's renamed path is the one Quillo left there.
    bool isRenamedFile(const RenameRecord &record) const;

    QList<Root> m_roots;
    std::optional<QString> m_recordingProblem;
    std::optional<QString> m_readingProblem;
    QSet<QString> m_handledPaths;
    QSet<QString> m_retriedPaths; // undecodable files given their one later try
    std::chrono::milliseconds m_retryDelay = defaultRetryDelay;
    int m_activeCount = 0;
    IndexWriter *m_index = nullptr;
};
