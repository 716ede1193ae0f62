// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <functional>
#include <optional>

// Runs the event loop until `done` holds or the time is up; `done` is checked every 50 ms.
bool waitUntil(const std::function<bool()> &done, qint64 timeoutMs);
void pause(qint64 ms);

// The real quillo daemon under a private home and session bus; both processes end with this object.
// It reads the daemon's log as it comes, counting renames and failures. $QUILLO_BENCH_BINARY, when set,
// runs that binary instead of this build's.
class BenchDaemon final
{
public:
    // Called for each log line as it arrives, before it is counted.
    using LineHandler = std::function<void(const QByteArray &line)>;

    BenchDaemon(const QTemporaryDir &root, bool verbose);
    ~BenchDaemon();

    bool start(const QString &watchedFolder);
    void setLineHandler(LineHandler handler) { m_lineHandler = std::move(handler); }
    qint64 pid() const { return m_quillo.processId(); }
    bool isRunning() const { return m_quillo.state() != QProcess::NotRunning; }
    int renamedCount() const { return m_renamed; }
    int failedCount() const { return m_failed; }
    int errorCount() const { return m_errors; }
    int leftCount() const { return m_left; }
    std::optional<qint64> firstRenamedMs() const { return m_firstRenamedMs; }
    void startClock() { m_clock.start(); }
    void terminate() { m_quillo.terminate(); }
    const QProcess &process() const { return m_quillo; }

private:
    bool startBus();
    void readLog();
    void handleLine(const QByteArray &line);

    QProcessEnvironment m_environment;
    QProcess m_bus;
    QProcess m_quillo;
    QByteArray m_pending;
    LineHandler m_lineHandler;
    bool m_watching = false;
    int m_renamed = 0;
    int m_failed = 0;
    int m_errors = 0;
    int m_left = 0;
    bool m_verbose = false;
    QElapsedTimer m_clock;
    std::optional<qint64> m_firstRenamedMs;
};
