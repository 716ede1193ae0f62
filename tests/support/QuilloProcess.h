// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonObject>
#include <QProcess>

#include <functional>
#include <memory>

// The real quillo binary, run by end-to-end tests in the test's HOME, with its log on standard
// error (kept, and passed on to the test's).
class QuilloProcess final : public QProcess
{
public:
    // Starts `binary` and returns once the log has said `readyLine`, or with a warning after 10 s.
    // `childSetup` runs in the new process before the binary does.
    static std::unique_ptr<QuilloProcess>
    start(const QString &binary, const QStringList &arguments, const QByteArray &readyLine,
          QProcessEnvironment environment = QProcessEnvironment::systemEnvironment(),
          const std::function<void()> &childSetup = {});

    struct Run
    {
        int exitCode = -1; // also when it did not end within a minute
        QByteArray output;
        QByteArray errors;
        QList<QJsonObject> objects; // the lines of the output that are JSON objects
    };
    // Runs a command of `binary` to its end, serving this thread's events meanwhile (a server the
    // test plays answers); its standard error is passed on to the test's.
    static Run run(const QString &binary, const QStringList &arguments,
                   const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());

    // Everything logged so far.
    const QByteArray &log() const { return m_log; }
    // Whether the log says `line` within `timeoutMs`.
    bool waitForLog(const QByteArray &line, int timeoutMs = 10000);

private:
    QByteArray m_log;
};
