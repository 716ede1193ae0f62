// SPDX-License-Identifier: GPL-3.0-or-later
// Renames a backlog of every corpus screenshot with the real `quillo rename`, once reading one file
// at a time and once with one file per core, in a private home with no session bus, and prints the
// wall time, the speed-up and each run's peak memory.
// The corpus folder defaults to $QUILLO_CORPUS_DIR, then to the one configured at build time.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdio>
#include <unistd.h>

namespace {

struct Figures
{
    double seconds = 0;
    double cpuSeconds = 0; // user and system, all threads
    long peakRssKb = 0;
    int exitCode = -1;
    int renamed = 0;
};

QString corpusFolder()
{
    const QString configured =
        qEnvironmentVariable("QUILLO_CORPUS_DIR", QStringLiteral(QUILLO_DEFAULT_CORPUS_DIR));
    return configured + QStringLiteral("/images");
}

// A fresh home holding the backlog under names the screenshot detector accepts.
bool prepare(const QTemporaryDir &home, const QFileInfoList &images)
{
    QDir(home.path()).removeRecursively();
    if (!QDir().mkpath(home.filePath(QStringLiteral("backlog"))) ||
        !QDir().mkpath(home.filePath(QStringLiteral(".config/quillo"))))
        return false;
    QSettings settings(home.filePath(QStringLiteral(".config/quillo/quillo.conf")), QSettings::IniFormat);
    settings.setValue(QStringLiteral("useLocalModel"), QStringLiteral("false"));
    settings.sync();
    int number = 0;
    for (const QFileInfo &image : images) {
        const QString name = QStringLiteral("Screenshot from 2026-12-05 10-%1-%2.%3")
                                 .arg(number / 60, 2, 10, QLatin1Char('0'))
                                 .arg(number % 60, 2, 10, QLatin1Char('0'))
                                 .arg(image.suffix());
        ++number;
        if (!QFile::copy(image.filePath(), home.filePath(QStringLiteral("backlog/") + name)))
            return false;
    }
    return true;
}

Figures runQuillo(const QTemporaryDir &home, int jobs)
{
    const QByteArray binary = QUILLO_BINARY;
    const QByteArray jobsText = QByteArray::number(jobs);
    const QByteArray folder = QFile::encodeName(home.filePath(QStringLiteral("backlog")));
    QElapsedTimer clock;
    clock.start();
    std::fflush(nullptr); // the child would write out what is still buffered here
    const pid_t child = fork();
    if (child == 0) {
        const QByteArray homeText = QFile::encodeName(home.path());
        setenv("HOME", homeText.constData(), 1);
        setenv("XDG_CONFIG_HOME", (homeText + "/.config").constData(), 1);
        setenv("XDG_CACHE_HOME", (homeText + "/.cache").constData(), 1);
        setenv("XDG_DATA_HOME", (homeText + "/.local/share").constData(), 1);
        setenv("OMP_THREAD_LIMIT", "1", 1);
        unsetenv("DBUS_SESSION_BUS_ADDRESS"); // never hand the backlog to a Quillo the user runs
        if (!freopen("/dev/null", "w", stdout))
            _exit(127);
        const char *arguments[] = {binary.constData(),   "rename",           "--jobs",
                                   jobsText.constData(), folder.constData(), nullptr};
        execv(binary.constData(), const_cast<char *const *>(arguments));
        _exit(127);
    }
    Figures figures;
    int status = 0;
    rusage usage{};
    if (child > 0 && wait4(child, &status, 0, &usage) == child) {
        figures.seconds = double(clock.elapsed()) / 1000.0;
        figures.peakRssKb = usage.ru_maxrss;
        figures.cpuSeconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                             double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
        figures.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    QDir backlog(home.filePath(QStringLiteral("backlog")));
    for (const QString &folderName : backlog.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        figures.renamed += int(QDir(backlog.filePath(folderName)).entryList(QDir::Files).size());
    return figures;
}

// The machine's one-minute load average: other work on a shared machine slows both runs unevenly.
QByteArray loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? file.readLine().split(' ').value(0) : QByteArray("?");
}

void print(const char *label, const Figures &figures, qsizetype files)
{
    // CPU time over wall time: 2.0 means both cores were Quillo's the whole time.
    std::printf(
        "%-14s wall %6.1f s  %5.2f s/file  CPU %6.1f s (%.2f cores)  peak RSS %4ld MB  renamed %d/%lld  "
        "exit %d  load %s\n",
        label, figures.seconds, figures.seconds / double(files), figures.cpuSeconds,
        figures.cpuSeconds / figures.seconds, figures.peakRssKb / 1024, figures.renamed,
        static_cast<long long>(files), figures.exitCode, loadAverage().constData());
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QFileInfoList images = QDir(corpusFolder()).entryInfoList(QDir::Files, QDir::Name);
    QTemporaryDir home;
    if (images.isEmpty() || !home.isValid()) {
        std::fprintf(stderr, "bench_backlog: no corpus images in %s\n", qPrintable(corpusFolder()));
        return 1;
    }
    const int cores = QThread::idealThreadCount();
    std::printf("backlog of %lld corpus screenshots, %d cores\n", static_cast<long long>(images.size()),
                cores);
    if (!prepare(home, images))
        return 1;
    const Figures serial = runQuillo(home, 1);
    print("one at a time", serial, images.size());
    if (!prepare(home, images))
        return 1;
    const Figures parallel = runQuillo(home, cores);
    print("one per core", parallel, images.size());
    std::printf("speed-up %.2fx (goal 1.7x on 2 cores)\n", serial.seconds / parallel.seconds);
    // When other sessions keep the cores busy, the kernel shares them out by session (autogroup),
    // not by thread, so a second thread buys no time and the wall times compare the neighbours; the
    // CPU each run needed still says what idle cores would give.
    std::printf("speed-up with %d idle cores, from CPU time %.2fx\n", cores,
                serial.cpuSeconds / (parallel.cpuSeconds / cores));
    return serial.exitCode == 0 && parallel.exitCode == 0 ? 0 : 1;
}
