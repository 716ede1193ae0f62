// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/BacklogCommand.h"

#include "cli/BacklogReport.h"
#include "cli/CommandLine.h"
#include "cli/DBusHistoryWriter.h"
#include "cli/LocalHistoryWriter.h"
#include "cli/ProgressLine.h"
#include "core/CanonicalPath.h"
#include "core/TextScanning.h"
#include "core/UnixSignals.h"
#include "index/ScreenshotIndex.h"
#include "naming/ModelPause.h"
#include "naming/ScreenshotNamer.h"
#include "reading/ReadingWorkers.h"
#include "settings/ScreenshotCategory.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QThreadPool>
#include <QtConcurrent>

#include <sys/ioctl.h>

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <unistd.h>

namespace {

using Result = BacklogReport::Result;

constexpr int defaultColumns = 80;

struct Pending
{
    QString file; // as the user gave it
    QString path; // absolute
    FileIdentity identity;
};

int terminalColumns()
{
    winsize size{};
    if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 1)
        return size.ws_col - 1; // the last column would wrap on some terminals
    return defaultColumns;
}

// One file an argument stands for, as the user would write it, and where it is; or why not.
struct Listed
{
    QString file;
    QString path;
    QString problem;
};

QString noSuchFile()
{
    return QCoreApplication::translate("BacklogCommand", "No such file or folder");
}

QString notUtf8()
{
    return QCoreApplication::translate(
        "BacklogCommand", "its name is not valid UTF-8, so Quillo cannot rename it; rename it by hand");
}

// The entries of `folder` whose names are not UTF-8, which Qt's listings leave out.
QStringList undecodableNames(const QString &folder)
{
    QStringList names;
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return names;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (entry->d_type != DT_DIR && QFile::encodeName(QFile::decodeName(name)) != name)
            names.append(QFile::decodeName(name));
    }
    ::closedir(dir);
    return names;
}

// The files the arguments stand for: folders are listed (their subfolders too when recursive).
QList<Listed> expand(const QList<QByteArray> &arguments, bool recursive)
{
    QList<Listed> files;
    for (const QByteArray &argument : arguments) {
        const QString given = QFile::decodeName(argument);
        if (QFile::encodeName(given) != argument) {
            files.append({given, {}, notUtf8()});
            continue;
        }
        const QFileInfo info(given);
        if (!info.isDir()) {
            const bool exists = info.exists() || info.isSymLink();
            files.append(
                {given, exists ? info.absoluteFilePath() : QString(), exists ? QString() : noSuchFile()});
            continue;
        }
        const QDir folder(info.absoluteFilePath());
        QStringList found;
        QStringList undecodable;
        QStringList folders{folder.path()};
        if (recursive) {
            // Links to folders are not followed, as before the listing had to find undecodable names.
            QDirIterator below(folder.path(), QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks,
                               QDirIterator::Subdirectories);
            while (below.hasNext())
                folders.append(below.next());
        }
        for (const QString &path : std::as_const(folders)) {
            for (const QString &name : QDir(path).entryList(QDir::Files | QDir::System))
                found.append(folder.relativeFilePath(QDir(path).filePath(name)));
            for (const QString &name : undecodableNames(path))
                undecodable.append(folder.relativeFilePath(QDir(path).filePath(name)));
        }
        found.sort();
        for (const QString &name : std::as_const(found))
            files.append({QDir(given).filePath(name), folder.filePath(name), {}});
        for (const QString &name : std::as_const(undecodable))
            files.append({QDir(given).filePath(name), {}, notUtf8()});
    }
    return files;
}

class BacklogRun final : public QObject
{
public:
    explicit BacklogRun(const CommandRequest &request)
        : m_request(request)
        , m_namer(namerOptions(), m_pool)
        , m_report(request.json)
        , m_showsProgress(!request.json && ::isatty(STDOUT_FILENO))
        , m_indexes(request.command == CommandRequest::Command::Index)
        , m_index(ScreenshotIndex::defaultPath())
    {
        // More jobs than cores would only make each file wait, and the wait count against its time limit.
        const int cores = QThread::idealThreadCount();
        m_pool.setMaxThreadCount(request.jobs > 0 ? std::min(request.jobs, cores) : cores);
        if (!request.dryRun && !m_indexes) {
            m_running = DBusHistoryWriter::connectToRunningQuillo();
            m_writer = m_running ? static_cast<HistoryWriter *>(m_running.get()) : &m_local;
        }
        connect(&m_signals, &UnixSignals::terminationRequested, this, [this] {
            if (!m_stopping)
                print(
                    {QCoreApplication::translate("BacklogCommand", "quillo: stopping after the files in hand")
                         .toUtf8(),
                     true});
            m_stopping = true;
        });
    }

    int run()
    {
        // A rename that cannot be recorded could never be undone; a running Quillo checks for itself.
        if (m_writer == &m_local) {
            if (const auto problem = m_local.history().recordingProblem()) {
                std::fprintf(
                    stderr, "%s\n",
                    qPrintable(QCoreApplication::translate(
                                   "BacklogCommand",
                                   "quillo: nothing renamed: the rename history cannot be saved (%1)")
                                   .arg(TextScanning::escapedPath(*problem))));
                return 1;
            }
        }
        if (m_indexes && !m_local.settings().remembersText()) {
            std::fprintf(stderr, "%s\n",
                         QCoreApplication::translate(
                             "BacklogCommand", "quillo: nothing indexed: remembering the text of "
                                               "screenshots for search is turned off in Quillo's settings")
                             .toUtf8()
                             .constData());
            return 1;
        }
        m_clock.start();
        examine();
        startNext();
        if (m_inFlight > 0)
            m_loop.exec();
        clearProgress();
        const int notStarted = m_stopping ? int(m_queue.size()) : 0;
        if (!m_request.json || m_stopping)
            std::fprintf(m_stopping ? stderr : stdout, "%s\n", qPrintable(m_report.summary(notStarted)));
        return m_report.exitStatus(m_stopping);
    }

private:
    ScreenshotNamer::Options namerOptions() const
    {
        const SettingsStore &settings = m_local.settings();
        return ScreenshotNamer::Options::fromSettings(
            settings, m_modelPause, std::make_shared<ReadingWorkers>(ReadingWorkers::Options::installed()));
    }

    // Sorts the files into those to name, those already named and the rest.
    void examine()
    {
        QSet<QString> seen;
        RenameCoordinator &coordinator = m_local.coordinator();
        int examined = 0;
        for (const auto &[file, path, problem] : expand(m_request.paths, m_request.recursive)) {
            // A folder of many thousands takes a while: let Ctrl-C in meanwhile.
            if (++examined % 256 == 0)
                QCoreApplication::processEvents();
            if (m_stopping)
                break;
            const auto candidate =
                path.isEmpty() ? std::nullopt : ScreenshotDetector::candidate(m_local.fileSystem(), path);
            if (!candidate) {
                report({Result::Failed, file, {}, {}, problem.isEmpty() ? noSuchFile() : problem});
                continue;
            }
            // A file given twice, by itself and in its folder, is named once.
            const QString canonical = canonicalPath(path);
            if (seen.contains(canonical))
                continue;
            seen.insert(canonical);
            const DetectionVerdict verdict = coordinator.requestedFileVerdict(*candidate);
            // Any picture is indexed, whoever named it.
            if (m_indexes && (verdict == DetectionVerdict::RejectAlreadyProcessed ||
                              verdict == DetectionVerdict::RejectNotScreenshot)) {
                m_queue.append({file, path, candidate->identity});
                continue;
            }
            switch (verdict) {
            case DetectionVerdict::Accept:
                m_queue.append({file, path, candidate->identity});
                break;
            case DetectionVerdict::RejectAlreadyProcessed:
                report({Result::AlreadyNamed, file, {}, {}, {}});
                break;
            default:
                report({Result::NotScreenshot, file, {}, {}, {}});
            }
        }
        m_total = int(m_queue.size());
    }

    void startNext()
    {
        while (!m_stopping && m_inFlight < m_pool.maxThreadCount() && !m_queue.isEmpty()) {
            const Pending pending = m_queue.takeFirst();
            ++m_inFlight;
            m_current = pending.file;
            QtConcurrent::run(&m_pool, [this, path = pending.path, routing = m_local.settings().routing()] {
                return m_namer.name(path, CaptureContext{}, routing);
            }).then(this, [this, pending](const ScreenshotNamer::Outcome &outcome) {
                --m_inFlight;
                ++m_done;
                finish(pending, outcome);
                startNext();
            });
        }
        drawProgress();
        if (m_inFlight == 0)
            m_loop.quit();
    }

    // On the main thread, one file at a time: the rename itself never runs concurrently.
    void finish(const Pending &pending, const ScreenshotNamer::Outcome &outcome)
    {
        if (!outcome.recognitionError.isEmpty()) {
            report({Result::Failed, pending.file, {}, {}, outcome.recognitionError});
            return;
        }
        if (m_indexes) {
            const auto problem = remember(pending.path, outcome, {});
            report({problem ? Result::Failed : Result::Indexed,
                    pending.file,
                    {},
                    {},
                    problem.value_or(QString())});
            return;
        }
        const NamedFile named{pending.path, pending.identity, QFileInfo(pending.path).absolutePath(),
                              outcome.suggestion, outcome.text};
        if (m_request.dryRun) {
            const QString planned = m_local.coordinator().plannedPath(named, m_planned);
            m_planned.insert(planned);
            report({Result::WouldRename, pending.file, planned, {}, {}});
            return;
        }
        auto renamed = m_writer->rename(named);
        if (!renamed && m_running && !DBusHistoryWriter::connectToRunningQuillo()) {
            // Quillo quit while the backlog ran: from now on this command writes the history.
            m_running.reset();
            m_writer = &m_local;
            renamed = m_writer->rename(named);
        }
        // A running Quillo renamed it without the text, which only this process holds.
        if (renamed && m_running && m_local.settings().remembersText()) {
            if (const auto problem =
                    remember(renamed.value->renamedPath, outcome, renamed.value->originalFilename))
                print({QByteArrayLiteral("quillo: ") + problem->toUtf8(), true});
        }
        if (renamed)
            report({Result::Renamed, pending.file, renamed.value->renamedPath, renamed.value->id, {}});
        else if (renamed.error.kind == UndoError::Kind::AlreadyNamed)
            report({Result::AlreadyNamed, pending.file, {}, {}, {}});
        else
            report({Result::Failed, pending.file, {}, {}, renamed.error.description});
    }

    std::optional<QString> remember(const QString &path, const ScreenshotNamer::Outcome &outcome,
                                    const QString &oldName)
    {
        return m_index.put({path,
                            oldName,
                            rawValue(outcome.suggestion.category),
                            QFileInfo(path).lastModified().toUTC(),
                            {},
                            {},
                            outcome.text});
    }

    void report(const BacklogReport::Entry &entry)
    {
        if (const auto line = m_report.add(entry))
            print(*line);
    }

    void print(const BacklogReport::Line &line)
    {
        clearProgress();
        std::FILE *stream = line.isError ? stderr : stdout;
        std::fprintf(stream, "%s\n", line.text.constData());
        std::fflush(stream);
        drawProgress();
    }

    void drawProgress()
    {
        if (!m_showsProgress || m_total == 0 || m_done == m_total)
            return;
        const QString text =
            ProgressLine::text(m_done, m_total, m_current, m_clock.elapsed(), terminalColumns());
        std::printf("\r%s\x1b[K", text.toUtf8().constData());
        std::fflush(stdout);
    }

    void clearProgress()
    {
        if (!m_showsProgress)
            return;
        std::fputs("\r\x1b[K", stdout);
        std::fflush(stdout);
    }

    const CommandRequest &m_request;
    QThreadPool m_pool;
    LocalHistoryWriter m_local;
    // One per run: a stalled model server is not asked again for every file of the backlog.
    const std::shared_ptr<ModelPause> m_modelPause = std::make_shared<ModelPause>();
    const ScreenshotNamer m_namer;
    std::unique_ptr<DBusHistoryWriter> m_running;
    HistoryWriter *m_writer = nullptr;
    BacklogReport m_report;
    UnixSignals m_signals;
    QEventLoop m_loop;
    QElapsedTimer m_clock;
    QList<Pending> m_queue;
    QSet<QString> m_planned;
    QString m_current;
    int m_total = 0;
    int m_done = 0;
    int m_inFlight = 0;
    bool m_stopping = false;
    const bool m_showsProgress;
    const bool m_indexes;
    ScreenshotIndex m_index; // opened on first use
};

} // namespace

namespace BacklogCommand {

int run(const CommandRequest &request)
{
    BacklogRun run(request);
    return run.run();
}

} // namespace BacklogCommand
