// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/QuilloProcess.h"

#include <QJsonDocument>
#include <QTest>

std::unique_ptr<QuilloProcess> QuilloProcess::start(const QString &binary, const QStringList &arguments,
                                                    const QByteArray &readyLine,
                                                    QProcessEnvironment environment,
                                                    const std::function<void()> &childSetup)
{
    auto process = std::make_unique<QuilloProcess>();
    QuilloProcess *raw = process.get();
    raw->setProcessChannelMode(QProcess::ForwardedOutputChannel);
    environment.insert(QStringLiteral("QUILLO_LOG_TO_STDERR"), QStringLiteral("1"));
    raw->setProcessEnvironment(environment);
    if (childSetup)
        raw->setChildProcessModifier(childSetup);
    connect(raw, &QProcess::readyReadStandardError, raw, [raw] {
        const QByteArray chunk = raw->readAllStandardError();
        raw->m_log.append(chunk);
        fputs(chunk.constData(), stderr);
    });
    raw->QProcess::start(binary, arguments);
    if (!raw->waitForStarted(5000))
        qFatal("quillo did not start");
    if (!raw->waitForLog(readyLine))
        qWarning("quillo never said %s", readyLine.constData());
    return process;
}

bool QuilloProcess::waitForLog(const QByteArray &line, int timeoutMs)
{
    return QTest::qWaitFor(
        [&] {
            return m_log.contains(line);
        },
        timeoutMs);
}

QuilloProcess::Run QuilloProcess::run(const QString &binary, const QStringList &arguments,
                                      const QProcessEnvironment &environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(binary, arguments);
    Run run;
    if (!QTest::qWaitFor(
            [&] {
                return process.state() == QProcess::NotRunning;
            },
            60000))
        return run;
    run.exitCode = process.exitCode();
    run.output = process.readAllStandardOutput();
    run.errors = process.readAllStandardError();
    fputs(run.errors.constData(), stderr);
    for (const QByteArray &line : run.output.split('\n')) {
        if (const QJsonDocument json = QJsonDocument::fromJson(line); json.isObject())
            run.objects.append(json.object());
    }
    return run;
}
