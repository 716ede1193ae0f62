// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the real quillo daemon in a private home under its own session bus and prints what it costs:
// CPU time and wake-ups while nothing happens, memory before and after a burst of screenshots, how
// long the burst takes (its peak memory for the daemon alone and with its reading workers), whether
// every file survives it, and how quickly SIGTERM ends it. Two hostile files named like screenshots
// arrive with the burst: a 49-megapixel PNG of sparse noise and a PDF of forms nested 40 deep; both
// must be left as they are while every other file is renamed.
// The corpus folder defaults to $QUILLO_CORPUS_DIR, then to the one configured at build time.
#include "BenchDaemon.h"
#include "support/SampleFiles.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <unistd.h>

namespace {

// A file name the screenshot detector accepts; the number keeps each copy distinct.
const QString burstNamePattern = QStringLiteral("Screenshot from 2026-12-05 10-00-00 (%1).%2");
constexpr int quitTimeoutMs = 10'000;
// Before the idle window, so the tail of start-up is not counted as idle work.
constexpr int startSettleMs = 1'000;

struct Options
{
    int idleSeconds = 30;
    int afterBurstIdleSeconds = 70;
    int burst = 200;
    bool verbose = false;
    QFileInfoList images;
};

struct ThreadSample
{
    QByteArray name;
    qint64 switches = 0;
    qint64 cpuTicks = 0;
};

struct ProcessSample
{
    qint64 cpuTicks = 0; // the whole process, threads that ended included
    std::map<int, ThreadSample> threads;
};

QByteArray readProcFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A "Key:   123 kB" line of /proc/.../status, as a number.
qint64 statusField(const QByteArray &status, const QByteArray &key)
{
    for (const QByteArray &line : status.split('\n')) {
        if (line.startsWith(key + ':'))
            return line.mid(key.size() + 1).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

// utime + stime of a /proc/.../stat line; the command name may hold spaces, so count after ')'.
qint64 cpuTicksOf(const QByteArray &stat)
{
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    return fields.value(11).toLongLong() + fields.value(12).toLongLong();
}

double ticksToMs(qint64 ticks)
{
    return double(ticks) * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

ProcessSample sample(qint64 pid)
{
    const QString root = QStringLiteral("/proc/%1").arg(pid);
    ProcessSample result;
    result.cpuTicks = cpuTicksOf(readProcFile(root + QStringLiteral("/stat")));
    const QDir tasks(root + QStringLiteral("/task"));
    for (const QString &tid : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString task = tasks.filePath(tid);
        const QByteArray status = readProcFile(task + QStringLiteral("/status"));
        result.threads[tid.toInt()] = {readProcFile(task + QStringLiteral("/comm")).trimmed(),
                                       statusField(status, "voluntary_ctxt_switches") +
                                           statusField(status, "nonvoluntary_ctxt_switches"),
                                       cpuTicksOf(readProcFile(task + QStringLiteral("/stat")))};
    }
    return result;
}

double statusMegabytes(qint64 pid, const QByteArray &key)
{
    return double(statusField(readProcFile(QStringLiteral("/proc/%1/status").arg(pid)), key)) / 1024.0;
}

// Resident memory, split into heap and stacks (anon) and mapped files such as libraries.
QString residentText(qint64 pid)
{
    return QStringLiteral("%1 (anon %2, file %3)")
        .arg(statusMegabytes(pid, "VmRSS"), 0, 'f', 1)
        .arg(statusMegabytes(pid, "RssAnon"), 0, 'f', 1)
        .arg(statusMegabytes(pid, "RssFile"), 0, 'f', 1);
}

// The resident memory of the daemon's child processes (its reading workers), from their /proc entries:
// the kernel here keeps no list of children, so every process's parent is looked at.
double childrenMegabytes(qint64 pid)
{
    double total = 0;
    const QByteArray parent = QByteArray::number(pid);
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (!entry.front().isDigit())
            continue;
        const QByteArray stat = readProcFile(QStringLiteral("/proc/%1/stat").arg(entry));
        if (stat.mid(stat.lastIndexOf(')') + 2).split(' ').value(1) == parent)
            total += statusMegabytes(entry.toLongLong(), "VmRSS");
    }
    return total;
}

QString loadAverage()
{
    return QString::fromLatin1(readProcFile(QStringLiteral("/proc/loadavg")).split(' ').mid(0, 3).join(' '));
}

void printThreads(const ProcessSample &process)
{
    QByteArrayList names;
    for (const auto &[tid, thread] : process.threads)
        names << thread.name;
    std::printf("threads: %zu (%s)\n", process.threads.size(), names.join(", ").constData());
}

// Prints CPU time and wake-ups between two samples, with each thread that woke.
void printWindow(const QString &label, const ProcessSample &before, const ProcessSample &after)
{
    std::printf("%s cpu ms: %.0f\n", qPrintable(label), ticksToMs(after.cpuTicks - before.cpuTicks));
    // Threads that ended in between take their switches with them; count only the survivors.
    qint64 wakeups = 0;
    for (const auto &[tid, thread] : after.threads) {
        const auto earlier = before.threads.find(tid);
        const qint64 woke =
            thread.switches - (earlier == before.threads.end() ? 0 : earlier->second.switches);
        const qint64 ticks =
            thread.cpuTicks - (earlier == before.threads.end() ? 0 : earlier->second.cpuTicks);
        wakeups += woke;
        if (woke > 0)
            std::printf("  thread %d %s: %lld wakeups, %.0f cpu ms%s\n", tid, thread.name.constData(),
                        static_cast<long long>(woke), ticksToMs(ticks),
                        earlier == before.threads.end() ? " (started in between)" : "");
    }
    std::printf("%s wakeups: %lld (threads %zu -> %zu)\n", qPrintable(label), static_cast<long long>(wakeups),
                before.threads.size(), after.threads.size());
}

QByteArray contentHash(const QString &path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return QByteArray("unreadable:") + path.toUtf8();
    return hash.result();
}

// The burst's copies: the corpus cycled through, each copy's content hash counted.
struct Burst
{
    std::map<QByteArray, int> expected;
    QStringList hidden;
    QStringList visible;
    std::map<QString, QByteArray> stalling; // name -> content, to be left as they are
};

// Staged hidden like the rest; they go in first, so they meet the burst on the naming threads.
bool stageStallingFiles(Burst &burst, const QString &folder)
{
    const std::map<QString, QByteArray> files{
        {QStringLiteral("Screenshot from 2026-12-05 09-59-58.png"), SampleFiles::sparseNoisePng(7000, 7000)},
        {QStringLiteral("Screenshot from 2026-12-05 09-59-59.pdf"), SampleFiles::nestedFormsPdf(40)}};
    for (const auto &[name, bytes] : files) {
        const QString hidden = QDir(folder).filePath(u'.' + name);
        QFile file(hidden);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return false;
        burst.hidden << hidden;
        burst.visible << QDir(folder).filePath(name);
        burst.stalling[QDir(folder).filePath(name)] = bytes;
        ++burst.expected[QCryptographicHash::hash(bytes, QCryptographicHash::Sha256)];
    }
    return true;
}

std::optional<Burst> stageBurst(const Options &options, const QString &folder)
{
    Burst burst;
    if (!stageStallingFiles(burst, folder)) {
        std::fprintf(stderr, "cannot write the stalling files\n");
        return std::nullopt;
    }
    std::map<QString, QByteArray> sourceHashes;
    for (int n = 0; n < options.burst; ++n) {
        const QFileInfo &source = options.images.at(n % options.images.size());
        const QString hidden =
            QDir(folder).filePath(QStringLiteral(".burst-%1.%2").arg(n).arg(source.suffix()));
        if (!QFile::copy(source.filePath(), hidden)) {
            std::fprintf(stderr, "cannot copy %s\n", qPrintable(source.filePath()));
            return std::nullopt;
        }
        auto [hash, isNew] = sourceHashes.try_emplace(source.filePath());
        if (isNew)
            hash->second = contentHash(source.filePath());
        ++burst.expected[hash->second];
        burst.hidden << hidden;
        burst.visible << QDir(folder).filePath(burstNamePattern.arg(n + 1).arg(source.suffix()));
    }
    return burst;
}

// Compares what is in the folder tree afterwards with what was put in.
void printSurvival(const Burst &burst, const QString &folder)
{
    std::map<QByteArray, int> found;
    int files = 0, hidden = 0, originals = 0;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo file(it.next());
        ++files;
        hidden += file.fileName().startsWith(u'.') ? 1 : 0;
        originals += file.fileName().startsWith(QStringLiteral("Screenshot from ")) ? 1 : 0;
        ++found[contentHash(file.filePath())];
    }
    int once = 0, lost = 0, extra = 0;
    for (const auto &[hash, count] : burst.expected) {
        const int present = found.count(hash) ? found.at(hash) : 0;
        once += std::min(present, count);
        lost += std::max(0, count - present);
    }
    for (const auto &[hash, count] : found)
        extra += std::max(0, count - (burst.expected.count(hash) ? burst.expected.at(hash) : 0));
    std::printf("burst %lld: files %d/%lld present once (files in tree %d, lost %d, extra %d, original names "
                "left %d, hidden left %d)\n",
                static_cast<long long>(burst.visible.size()), once,
                static_cast<long long>(burst.visible.size()), files, lost, extra, originals, hidden);
    int untouched = 0;
    for (const auto &[path, bytes] : burst.stalling) {
        QFile file(path);
        untouched += file.open(QIODevice::ReadOnly) && file.readAll() == bytes ? 1 : 0;
    }
    std::printf("stalling files: %d/%zu left as they were, under their own names\n", untouched,
                burst.stalling.size());
}

void runBurst(const Options &options, BenchDaemon &daemon, const QString &folder)
{
    const auto burst = stageBurst(options, folder);
    if (!burst)
        return;
    const ProcessSample before = sample(daemon.pid());
    double peakRss = 0;
    double peakWithWorkers = 0; // daemon and workers at the same moment
    size_t peakThreads = 0;
    QElapsedTimer clock;
    clock.start();
    daemon.startClock();
    for (qsizetype n = 0; n < burst->hidden.size(); ++n)
        QFile::rename(burst->hidden.at(n), burst->visible.at(n));
    const qint64 timeoutMs = 60'000 + qint64(options.burst) * 10'000;
    const int stalling = int(burst->stalling.size());
    const bool done = waitUntil(
        [&] {
            const double rss = statusMegabytes(daemon.pid(), "VmRSS");
            peakRss = std::max(peakRss, rss);
            peakWithWorkers = std::max(peakWithWorkers, rss + childrenMegabytes(daemon.pid()));
            peakThreads = std::max(peakThreads, sample(daemon.pid()).threads.size());
            // A screenshot over its budget on a loaded machine is left as it is, and ends its wait too.
            return daemon.renamedCount() + daemon.failedCount() + daemon.leftCount() >=
                       options.burst + stalling ||
                   !daemon.isRunning();
        },
        timeoutMs);
    const double seconds = double(clock.elapsed()) / 1000.0;
    const ProcessSample after = sample(daemon.pid());
    const bool allRenamed = done && daemon.failedCount() == 0 && daemon.renamedCount() == options.burst;
    std::printf(
        "burst %d + %d stalling: %s in %.1f s (first after %.1f s), %d renamed, %d failed, %d left as "
        "they are, %.2f files/s\n",
        options.burst, stalling, allRenamed ? "every screenshot renamed" : "NOT all renamed", seconds,
        double(daemon.firstRenamedMs().value_or(-1)) / 1000.0, daemon.renamedCount(), daemon.failedCount(),
        daemon.leftCount(), double(daemon.renamedCount()) / seconds);
    printWindow(QStringLiteral("burst %1").arg(options.burst), before, after);
    std::printf("burst %d: cpu ms per file %.0f (daemon only), peak rss MB %.1f (VmHWM %.1f), with its "
                "reading workers %.1f, peak threads %zu\n",
                options.burst,
                ticksToMs(after.cpuTicks - before.cpuTicks) / std::max(1, daemon.renamedCount()), peakRss,
                statusMegabytes(daemon.pid(), "VmHWM"), peakWithWorkers, peakThreads);
    printSurvival(*burst, folder);
}

void runIdle(const QString &label, BenchDaemon &daemon, int seconds)
{
    const ProcessSample before = sample(daemon.pid());
    pause(qint64(seconds) * 1000);
    const ProcessSample after = sample(daemon.pid());
    printWindow(QStringLiteral("%1 over %2 s").arg(label).arg(seconds), before, after);
    printThreads(after);
    std::printf("%s rss MB after %d s: %s\n", qPrintable(label), seconds,
                qPrintable(residentText(daemon.pid())));
}

void runTermination(BenchDaemon &daemon)
{
    QElapsedTimer clock;
    clock.start();
    daemon.terminate();
    if (!waitUntil(
            [&] {
                return !daemon.isRunning();
            },
            quitTimeoutMs)) {
        std::printf("sigterm: still running after %d ms\n", quitTimeoutMs);
        return;
    }
    const QProcess &process = daemon.process();
    std::printf("sigterm: exited in %lld ms, %s, exit code %d\n", static_cast<long long>(clock.elapsed()),
                process.exitStatus() == QProcess::NormalExit ? "normal exit" : "crashed", process.exitCode());
}

std::optional<Options> parseOptions(const QCoreApplication &app)
{
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("corpus"), QStringLiteral("Corpus folder (with images/)."));
    const QCommandLineOption idle(QStringLiteral("idle-seconds"), QStringLiteral("Idle window (30)."),
                                  QStringLiteral("N"), QStringLiteral("30"));
    const QCommandLineOption afterBurst(QStringLiteral("after-burst-idle-seconds"),
                                        QStringLiteral("Wait after the burst, past thread expiry (70)."),
                                        QStringLiteral("N"), QStringLiteral("70"));
    const QCommandLineOption burst(QStringLiteral("burst"), QStringLiteral("Screenshots in the burst (200)."),
                                   QStringLiteral("N"), QStringLiteral("200"));
    const QCommandLineOption verbose(QStringLiteral("verbose"), QStringLiteral("Show quillo's whole log."));
    parser.addOptions({idle, afterBurst, burst, verbose});
    parser.process(app);

    Options options;
    options.idleSeconds = parser.value(idle).toInt();
    options.afterBurstIdleSeconds = parser.value(afterBurst).toInt();
    options.burst = parser.value(burst).toInt();
    options.verbose = parser.isSet(verbose);
    QString corpus = parser.positionalArguments().value(0, qEnvironmentVariable("QUILLO_CORPUS_DIR"));
    if (corpus.isEmpty())
        corpus = QStringLiteral(QUILLO_DEFAULT_CORPUS_DIR);
    options.images =
        QDir(corpus + QStringLiteral("/images"))
            .entryInfoList({QStringLiteral("*.png"), QStringLiteral("*.jpg")}, QDir::Files, QDir::Name);
    if (options.images.isEmpty() || options.burst < 1) {
        std::fprintf(stderr, "no images in %s/images, or an empty burst\n", qPrintable(corpus));
        return std::nullopt;
    }
    return options;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const auto options = parseOptions(app);
    QTemporaryDir root;
    if (!options || !root.isValid())
        return 1;
    const QString folder = root.filePath(QStringLiteral("Screenshots"));
    QDir().mkpath(folder);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::printf("quillo daemon: burst %d, idle %d s, after-burst wait %d s, %ld cpus, load %s\n",
                options->burst, options->idleSeconds, options->afterBurstIdleSeconds,
                sysconf(_SC_NPROCESSORS_ONLN), qPrintable(loadAverage()));

    BenchDaemon daemon(root, options->verbose);
    QElapsedTimer startClock;
    startClock.start();
    if (!daemon.start(folder))
        return 1;
    std::printf("start: pid %lld watching after %lld ms\n", static_cast<long long>(daemon.pid()),
                static_cast<long long>(startClock.elapsed()));
    pause(startSettleMs);
    std::printf("idle rss MB after start: %s\n", qPrintable(residentText(daemon.pid())));
    runIdle(QStringLiteral("idle"), daemon, options->idleSeconds);
    runBurst(*options, daemon, folder);
    std::printf("rss MB right after burst: %s\n", qPrintable(residentText(daemon.pid())));
    runIdle(QStringLiteral("after-burst idle"), daemon, options->afterBurstIdleSeconds);
    runTermination(daemon);
    std::printf("quillo errors logged: %d\nload at end: %s\n", daemon.errorCount(),
                qPrintable(loadAverage()));
    return 0;
}
