// SPDX-License-Identifier: GPL-3.0-or-later
#include "BenchDaemon.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QSettings>
#include <QTimer>

#include <cstdio>

namespace {

constexpr int startTimeoutMs = 30'000;

} // namespace

// Runs the event loop until `done` holds or the time is up; `done` is checked every 50 ms.
bool waitUntil(const std::function<bool()> &done, qint64 timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.hasExpired(timeoutMs))
            return false;
        QEventLoop loop;
        QTimer::singleShot(50, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

void pause(qint64 ms)
{
    waitUntil(
        [] {
            return false;
        },
        ms);
}

BenchDaemon::BenchDaemon(const QTemporaryDir &root, bool verbose)
    : m_environment(QProcessEnvironment::systemEnvironment())
    , m_verbose(verbose)
{
    const QString home = root.filePath(QStringLiteral("home"));
    const QString runtime = root.filePath(QStringLiteral("runtime"));
    QDir().mkpath(home);
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_environment.insert(QStringLiteral("HOME"), home);
    m_environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    m_environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
    m_environment.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/.cache"));
    m_environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    m_environment.insert(QStringLiteral("QUILLO_LOG_TO_STDERR"), QStringLiteral("1"));
    m_environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
}

BenchDaemon::~BenchDaemon()
{
    for (QProcess *process : {&m_quillo, &m_bus}) {
        if (process->state() == QProcess::NotRunning)
            continue;
        process->terminate();
        if (!process->waitForFinished(3000))
            process->kill();
        process->waitForFinished(3000);
    }
}

bool BenchDaemon::startBus()
{
    m_bus.setProcessEnvironment(m_environment);
    m_bus.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                QStringLiteral("--print-address=1")});
    const auto addressPrinted = [this] {
        return m_bus.canReadLine();
    };
    if (!m_bus.waitForStarted() || !waitUntil(addressPrinted, startTimeoutMs)) {
        std::fprintf(stderr, "cannot start a session bus: %s\n%s", qPrintable(m_bus.errorString()),
                     m_bus.readAllStandardError().constData());
        return false;
    }
    m_environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                         QString::fromUtf8(m_bus.readLine().trimmed()));
    return true;
}

bool BenchDaemon::start(const QString &watchedFolder)
{
    QSettings config(m_environment.value(QStringLiteral("XDG_CONFIG_HOME")) +
                         QStringLiteral("/quillo/quillo.conf"),
                     QSettings::IniFormat);
    config.setValue(QStringLiteral("customFolderPath"), watchedFolder);
    config.setValue(QStringLiteral("useLocalModel"), false);
    config.setValue(QStringLiteral("appendDateSuffix"), true);
    config.sync();
    if (config.status() != QSettings::NoError || !startBus())
        return false;

    m_quillo.setProcessEnvironment(m_environment);
    m_quillo.setProcessChannelMode(QProcess::MergedChannels);
    QObject::connect(&m_quillo, &QProcess::readyReadStandardOutput, &m_quillo, [this] {
        readLog();
    });
    // Another build's binary may be given to compare before and after a change.
    m_quillo.start(qEnvironmentVariable("QUILLO_BENCH_BINARY", QStringLiteral(QUILLO_BINARY)),
                   {QStringLiteral("--headless")});
    const auto settled = [this] {
        return m_watching || !isRunning();
    };
    if (!waitUntil(settled, startTimeoutMs) || !m_watching) {
        std::fprintf(stderr, "quillo did not start watching: %s\n", qPrintable(m_quillo.errorString()));
        return false;
    }
    return true;
}

void BenchDaemon::readLog()
{
    m_pending += m_quillo.readAllStandardOutput();
    qsizetype end = 0;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        handleLine(m_pending.left(end));
        m_pending.remove(0, end + 1);
    }
}

void BenchDaemon::handleLine(const QByteArray &line)
{
    if (m_verbose)
        std::fprintf(stderr, "%s\n", line.constData());
    if (m_lineHandler)
        m_lineHandler(line);
    if (line.contains("Watching "))
        m_watching = true;
    if (line.contains("Renamed ")) {
        ++m_renamed;
        if (!m_firstRenamedMs && m_clock.isValid())
            m_firstRenamedMs = m_clock.elapsed();
    }
    if (line.contains("Could not rename"))
        ++m_failed;
    if (line.contains(" as it is: "))
        ++m_left; // also an error line, shown below
    if (line.contains(" error: ")) {
        ++m_errors;
        if (!m_verbose)
            std::fprintf(stderr, "%s\n", line.constData());
    }
}
