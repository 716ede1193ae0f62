// SPDX-License-Identifier: GPL-3.0-or-later
#include "renaming/RenameCoordinator.h"

#include "core/CanonicalPath.h"
#include "core/TextScanning.h"
#include "index/IndexWriter.h"
#include "intake/FileSystem.h"
#include "naming/SlugGenerator.h"
#include "renaming/FilenameFormatter.h"
#include "renaming/RenameHistoryStore.h"
#include "renaming/RenameLog.h"
#include "settings/SettingsStore.h"
#include "settings/WatchedFolderRules.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimeZone>
#include <QTimer>

#include <limits>

namespace {

// A name lost to another writer between the check and the move is retried this often.
constexpr int maximumMoveAttempts = 3;

using MaybeRecord = std::optional<RenameRecord>;

QFuture<MaybeRecord> nothing()
{
    return QtFuture::makeReadyFuture(MaybeRecord());
}

QString fileName(const QString &path)
{
    return QFileInfo(path).fileName();
}

// Nothing when the folder is the root itself, else the folder's own name.
std::optional<QString> routedFolderName(const QString &folder, const QString &root)
{
    if (canonicalPath(folder) == canonicalPath(root))
        return std::nullopt;
    return QFileInfo(QDir::cleanPath(folder)).fileName();
}

} // namespace

RenameCoordinator::Clock RenameCoordinator::Clock::system()
{
    return {&QDateTime::currentDateTimeUtc, &QTimeZone::systemTimeZone};
}

RenameCoordinator::RenameCoordinator(SettingsStore &settings, RenameHistoryStore &history,
                                     NamerProvider namerProvider, const FileSystem &fileSystem, Clock clock,
                                     QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_history(history)
    , m_namerProvider(std::move(namerProvider))
    , m_fileSystem(fileSystem)
    , m_clock(std::move(clock))
{}

std::optional<QString> RenameCoordinator::watchedFolder() const
{
    return m_roots.isEmpty() ? std::nullopt : std::optional(m_roots.first().path);
}

void RenameCoordinator::setWatchedFolders(const QList<WatchedFolder> &folders)
{
    m_roots.clear();
    for (const WatchedFolder &folder : folders)
        m_roots.append({folder.path, canonicalPath(folder.path),
                        ScreenshotDetector::compiledNames(folder.namePatterns)});
}

void RenameCoordinator::setWatchedFolder(const std::optional<QString> &folder)
{
    setWatchedFolders(folder ? QList<WatchedFolder>{{*folder, {}, {}, false}} : QList<WatchedFolder>());
}

const RenameCoordinator::Root *RenameCoordinator::rootOf(const QString &path) const
{
    const QString folder = canonicalPath(QFileInfo(path).absolutePath());
    for (const Root &root : m_roots) {
        if (root.canonical == folder)
            return &root;
    }
    return nullptr;
}

ScreenshotDetector RenameCoordinator::detectorFor(const Root &root) const
{
    ScreenshotDetector detector = m_detector;
    detector.toolNames += root.names;
    return detector;
}

void RenameCoordinator::fileArriving(const QString &path)
{
    const Root *root = rootOf(path);
    if (m_settings.isPaused() || !root)
        return;
    if (detectorFor(*root).matchesScreenshotFilename(QFileInfo(path).fileName()))
        m_namerProvider()->prepare();
}

QFuture<MaybeRecord> RenameCoordinator::handleNewFile(const QString &path, const CaptureContext &context)
{
    const Root *root = rootOf(path);
    if (m_settings.isPaused() || !root)
        return nothing();
    const auto candidate = ScreenshotDetector::candidate(m_fileSystem, path);
    if (!candidate)
        return nothing();
    const DetectionVerdict verdict = detectorFor(*root).evaluate(*candidate, processedPaths(), m_clock.now());
    if (verdict != DetectionVerdict::Accept) {
        qCDebug(lcRename).noquote()
            << QStringLiteral("Skipping %1: %2").arg(fileName(path), verdictName(verdict));
        return nothing();
    }
    return rename(*candidate, root->path, context);
}

QFuture<MaybeRecord> RenameCoordinator::rename(const ScreenshotCandidate &candidate, const QString &root,
                                               const CaptureContext &context)
{
    // Claimed before naming starts, so a second report of this file while it is named is rejected.
    m_handledPaths.insert(canonicalPath(candidate.path));
    changeActiveCount(+1);
    const RoutingConfiguration routing = m_settings.routing();
    const auto namer = m_namerProvider();
    return namer->suggestName(candidate.path, context, routing)
        .then(this,
              [this, candidate, root, context, routing, namer](const NamingResult &named) {
                  noteReading(named);
                  QFuture<MaybeRecord> result = QtFuture::makeReadyFuture(MaybeRecord());
                  const auto facts = m_fileSystem.facts(candidate.path);
                  if (!facts) {
                      // Gone: the name is free, and a new file under it gets its own later try.
                      m_handledPaths.remove(canonicalPath(candidate.path));
                      m_retriedPaths.remove(canonicalPath(candidate.path));
                  } else if (facts->identity != candidate.identity) {
                      // The name was made for what the file held before.
                      qCInfo(lcRename).noquote()
                          << QStringLiteral("%1 changed while it was named; naming it again")
                                 .arg(fileName(candidate.path));
                      m_handledPaths.remove(canonicalPath(candidate.path));
                      result = handleNewFile(candidate.path, context);
                  } else if (!named.suggestion) {
                      leaveAsItIs(candidate, named, context);
                  } else {
                      const auto record = finishRename(candidate, root, *named.suggestion, routing).value;
                      if (record)
                          indexRenamed(*record, named.suggestion->category, named.text, context);
                      result = QtFuture::makeReadyFuture(record);
                  }
                  changeActiveCount(-1);
                  return result;
              })
        .unwrap()
        .onCanceled(this, [this, candidate] {
            qCWarning(lcRename).noquote()
                << QStringLiteral("Could not rename %1: naming was cancelled").arg(fileName(candidate.path));
            changeActiveCount(-1);
            return MaybeRecord();
        });
}

void RenameCoordinator::noteReading(const NamingResult &result)
{
    // A file that was never opened says nothing either way.
    if (!result.isUnconfined && !result.suggestion)
        return;
    const std::optional<QString> problem = result.isUnconfined ? std::optional(result.error) : std::nullopt;
    if (problem.has_value() == m_readingProblem.has_value())
        return;
    m_readingProblem = problem;
    emit readingProblemChanged(problem);
}

void RenameCoordinator::leaveAsItIs(const ScreenshotCandidate &candidate, const NamingResult &result,
                                    const CaptureContext &context)
{
    const QString path = canonicalPath(candidate.path);
    m_handledPaths.remove(path); // its next write brings it back
    // A writer that stalls leaves a file that cannot be decoded yet; a file over budget stays so.
    const bool retries = !result.isOverBudget && !m_retriedPaths.contains(path);
    qCWarning(lcRename).noquote() << QStringLiteral("Left %1 as it is: %2%3")
                                         .arg(fileName(candidate.path), result.error,
                                              retries ? QStringLiteral("; trying it again in %1 s")
                                                            .arg(double(m_retryDelay.count()) / 1000.0)
                                                      : QString());
    if (!retries)
        return;
    m_retriedPaths.insert(path);
    QTimer::singleShot(m_retryDelay, this, [this, filePath = candidate.path, context] {
        handleNewFile(filePath, context);
    });
}

RenameOutcome<RenameRecord> RenameCoordinator::finishRename(const ScreenshotCandidate &candidate,
                                                            const QString &root,
                                                            const NamingSuggestion &suggestion,
                                                            const RoutingConfiguration &routing)
{
    const Target chosen = target(candidate, root, suggestion, routing);
    const auto fail = [&](const QString &description) {
        qCWarning(lcRename).noquote()
            << QStringLiteral("Could not rename %1: %2").arg(fileName(candidate.path), description);
        return UndoError::fileSystem(description);
    };
    // A rename that cannot be recorded could never be undone: none is made until it can be.
    const auto recording = m_history.recordingProblem();
    if (recording != m_recordingProblem) {
        m_recordingProblem = recording;
        emit recordingProblemChanged(recording);
    }
    if (recording)
        return fail(QStringLiteral("the rename history cannot be saved (%1)").arg(*recording));
    if (const FileResult created = m_fileSystem.createFolder(chosen.folder); !created)
        return fail(created.description);
    const auto moved = move(candidate.path, chosen.folder, chosen.baseName, chosen.pathExtension);
    if (!moved)
        return fail(moved.error.description);
    const QString renamedPath = *moved.value;

    if (const FileResult marked = ScreenshotDetector::markHandled(m_fileSystem, renamedPath); !marked)
        qCWarning(lcRename).noquote()
            << QStringLiteral("Could not mark %1 as handled").arg(fileName(renamedPath));

    RenameRecord record;
    record.id = QUuid::createUuid();
    record.originalFolderPath = QFileInfo(candidate.path).absolutePath();
    record.originalFilename = fileName(candidate.path);
    record.renamedPath = renamedPath;
    record.renamedAt = m_clock.now();
    record.routedFolderName = routedFolderName(chosen.folder, root);
    record.namingSource = suggestion.source;
    record.identity = identityOf(renamedPath);
    m_history.add(record);
    emit renamed(record);
    qCInfo(lcRename).noquote()
        << QStringLiteral("Renamed %1 to %2").arg(record.originalFilename, fileName(renamedPath));
    return record;
}

RenameCoordinator::Target RenameCoordinator::target(const ScreenshotCandidate &candidate, const QString &root,
                                                    const NamingSuggestion &suggestion,
                                                    const RoutingConfiguration &routing) const
{
    QString baseName = suggestion.slug;
    if (m_settings.appendDateSuffix()) {
        // The day the screenshot was taken: the date its tool wrote into its name, else the earlier of
        // its creation and last change (a file copied here keeps only the second).
        const auto named = FilenameFormatter::dateInName(QFileInfo(candidate.path).completeBaseName());
        QDateTime taken = candidate.creationDate.value_or(m_clock.now());
        if (const qint64 modifiedNs = candidate.identity.modifiedNs; modifiedNs > 0)
            taken = std::min(taken, QDateTime::fromMSecsSinceEpoch(modifiedNs / 1'000'000, Qt::UTC));
        baseName += u'-' + (named ? named->toString(Qt::ISODate)
                                  : FilenameFormatter::dateSuffix(taken, m_clock.zone()));
    }
    return {destinationFolder(root, suggestion.category, routing), baseName,
            QFileInfo(candidate.path).suffix().toLower()};
}

QString RenameCoordinator::destinationFolder(const QString &root, ScreenshotCategory category,
                                             const RoutingConfiguration &routing) const
{
    if (!m_settings.folderRoutingEnabled())
        return root;
    const CategoryRule rule = routing.rule(category);
    if (!rule.isEnabled)
        return root;
    return joinedPath(root, FilenameFormatter::folderName(rule.folderName, defaultFolderName(category)));
}

QString RenameCoordinator::freeTarget(const QString &folder, const QString &baseName,
                                      const QString &pathExtension, const QSet<QString> &planned) const
{
    QString target = joinedPath(folder, FilenameFormatter::filename(baseName, pathExtension));
    for (int counter = 2; planned.contains(target) || m_fileSystem.exists(target); ++counter) {
        const QString numbered = baseName + u'-' + QString::number(counter);
        target = joinedPath(folder, FilenameFormatter::filename(numbered, pathExtension));
    }
    return target;
}

RenameOutcome<QString> RenameCoordinator::move(const QString &source, const QString &folder,
                                               const QString &baseName, const QString &pathExtension)
{
    FileResult result;
    for (int attempt = 0; attempt < maximumMoveAttempts; ++attempt) {
        const QString target = freeTarget(folder, baseName, pathExtension);
        // Claimed before the move, so the watcher's report of the new file is ignored.
        m_handledPaths.insert(canonicalPath(target));
        result = m_fileSystem.move(source, target);
        if (result) {
            // Whatever arrives under the old name from now on is another file.
            m_handledPaths.remove(canonicalPath(source));
            m_retriedPaths.remove(canonicalPath(source));
            return target;
        }
        if (result.error != FileError::FileExists)
            break;
    }
    return UndoError::fileSystem(result.description);
}

RenameOutcome<RenameRecord> RenameCoordinator::relocate(const RenameRecord &record, const QString &folder,
                                                        const std::optional<QString> &baseName)
{
    const QString current = record.renamedPath;
    const QFileInfo currentInfo(current);
    if (!m_fileSystem.exists(current)) {
        m_history.remove(record.id);
        indexMoved(current, {});
        return UndoError::fileMissingForChange(currentInfo.fileName());
    }
    if (!isRenamedFile(record))
        return UndoError::renamedFileReplaced(currentInfo.fileName());
    const QString currentBaseName = currentInfo.completeBaseName();
    const QString newBaseName = baseName.value_or(currentBaseName);
    if (canonicalPath(folder) == canonicalPath(currentInfo.absolutePath()) && newBaseName == currentBaseName)
        return record;

    if (const FileResult created = m_fileSystem.createFolder(folder); !created)
        return UndoError::fileSystem(created.description);
    const auto moved = move(current, folder, newBaseName, currentInfo.suffix());
    if (!moved)
        return moved.error;

    RenameRecord updated = record;
    updated.renamedPath = *moved.value;
    updated.routedFolderName = routedFolderName(folder, record.originalFolderPath);
    updated.identity = identityOf(updated.renamedPath);
    m_history.update(updated);
    indexMoved(current, updated.renamedPath);
    qCInfo(lcRename).noquote()
        << QStringLiteral("Changed %1 to %2").arg(currentInfo.fileName(), *moved.value);
    return updated;
}

RenameOutcome<QString> RenameCoordinator::undo(const RenameRecord &record)
{
    const QString current = record.renamedPath;
    if (!m_fileSystem.exists(current)) {
        m_history.remove(record.id);
        indexMoved(current, {});
        return UndoError::renamedFileMissing(fileName(current));
    }
    if (!isRenamedFile(record))
        return UndoError::renamedFileReplaced(fileName(current));
    if (const FileResult created = m_fileSystem.createFolder(record.originalFolderPath); !created)
        return UndoError::fileSystem(created.description);
    const QFileInfo original(record.originalFilename);
    const auto restored =
        move(current, record.originalFolderPath, original.completeBaseName(), original.suffix());
    if (!restored)
        return restored.error;
    m_history.remove(record.id);
    indexMoved(current, *restored.value);
    qCInfo(lcRename).noquote() << QStringLiteral("Restored %1").arg(fileName(*restored.value));
    return *restored.value;
}

RenameOutcome<QString> RenameCoordinator::undo(const QUuid &id)
{
    if (const auto record = m_history.record(id))
        return undo(*record);
    return UndoError::fileSystem(QStringLiteral("That rename is no longer in the history."));
}

std::optional<FileIdentity> RenameCoordinator::identityOf(const QString &path) const
{
    const auto facts = m_fileSystem.facts(path);
    return facts ? std::optional(facts->identity) : std::nullopt;
}

bool RenameCoordinator::isRenamedFile(const RenameRecord &record) const
{
    return !record.identity || identityOf(record.renamedPath) == record.identity;
}

DetectionVerdict RenameCoordinator::requestedFileVerdict(const ScreenshotCandidate &candidate) const
{
    // Every watched folder's tools count: the user chose this file.
    ScreenshotDetector detector = m_detector;
    for (const Root &root : m_roots)
        detector.toolNames += root.names;
    detector.maximumAge = std::numeric_limits<double>::infinity();
    return detector.evaluate(candidate, processedPaths(), m_clock.now());
}

QString RenameCoordinator::plannedPath(const NamedFile &file, const QSet<QString> &planned) const
{
    const auto candidate = ScreenshotDetector::candidate(m_fileSystem, file.path);
    const Target chosen = target(candidate.value_or(ScreenshotCandidate{file.path}), file.root,
                                 file.suggestion, m_settings.routing());
    return freeTarget(chosen.folder, chosen.baseName, chosen.pathExtension, planned);
}

RenameOutcome<RenameRecord> RenameCoordinator::renameNamed(const NamedFile &file)
{
    const QString name = fileName(file.path);
    // Any client of the session bus can ask: what it gives is checked as strictly as user input.
    if (!SlugGenerator::isSlug(file.suggestion.slug))
        return UndoError::fileSystem(
            QCoreApplication::translate("RenameCoordinator",
                                        "“%1” was not renamed: “%2” is not a name Quillo gives.")
                .arg(name, TextScanning::withoutControls(file.suggestion.slug)));
    if (canonicalPath(QFileInfo(file.path).absolutePath()) != canonicalPath(file.root))
        return UndoError::aboutFile(
            name, QCoreApplication::translate("RenameCoordinator",
                                              "“%1” is not in the folder it was to be renamed in."));
    if (const auto refusal = WatchedFolderRules::refusal(file.root, true))
        return UndoError::fileSystem(*refusal);
    const auto candidate = ScreenshotDetector::candidate(m_fileSystem, file.path);
    // Gone because another Quillo (a second quillo rename) named it meanwhile.
    if (!candidate && m_history.holdsRenameOf(file.path))
        return UndoError::alreadyNamed(name);
    if (!candidate)
        return UndoError::aboutFile(name, QCoreApplication::translate("RenameCoordinator", "“%1” is gone."));
    if (candidate->identity != file.identity)
        return UndoError::aboutFile(
            name, QCoreApplication::translate("RenameCoordinator", "“%1” changed while it was named."));
    const DetectionVerdict verdict = requestedFileVerdict(*candidate);
    if (verdict == DetectionVerdict::RejectAlreadyProcessed)
        return UndoError::alreadyNamed(name);
    if (verdict != DetectionVerdict::Accept)
        return UndoError::aboutFile(
            name, QCoreApplication::translate("RenameCoordinator", "“%1” is not a screenshot."));
    auto renamed = finishRename(*candidate, file.root, file.suggestion, m_settings.routing());
    // A file handed over the bus comes without its text: the command that read it indexes it.
    if (renamed && file.text.isEmpty())
        indexMoved(QDir(renamed.value->originalFolderPath).filePath(renamed.value->originalFilename),
                   renamed.value->renamedPath);
    else if (renamed)
        indexRenamed(*renamed.value, file.suggestion.category, file.text, CaptureContext{});
    return renamed;
}

QSet<QString> RenameCoordinator::processedPaths() const
{
    QSet<QString> paths = m_handledPaths;
    for (const RenameRecord &record : m_history.records())
        paths.insert(canonicalPath(record.renamedPath));
    return paths;
}

void RenameCoordinator::changeActiveCount(int delta)
{
    m_activeCount += delta;
    emit activityChanged(m_activeCount);
}

void RenameCoordinator::indexRenamed(const RenameRecord &record, ScreenshotCategory category,
                                     const QString &text, const CaptureContext &context)
{
    if (!m_index || !m_settings.remembersText())
        return;
    // `quillo index` may have kept it under the name it had.
    m_index->move(QDir(record.originalFolderPath).filePath(record.originalFilename), record.renamedPath);
    m_index->put({record.renamedPath, record.originalFilename, rawValue(category), record.renamedAt,
                  context.appName.value_or(QString()), context.windowTitle.value_or(QString()), text});
}

// An empty `to`: the file is gone.
void RenameCoordinator::indexMoved(const QString &from, const QString &to)
{
    if (!m_index)
        return;
    if (to.isEmpty())
        m_index->remove(from);
    else
        m_index->move(from, to);
}
