// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/QuilloProcess.h"

#include <QTest>

std::unique_ptr<QuilloProcess> QuilloProcess::start(const QString &binary, const QStringList &arguments,
                                                    const QByteArray &readyLine,
                                                    QProcessEnvironment environment)
{
    auto process = std::make_unique<QuilloProcess>();
    QuilloProcess *raw = process.get();
    raw->setProcessChannelMode(QProcess::ForwardedOutputChannel);
    environment.insert(QStringLiteral("QUILLO_LOG_TO_STDERR"), QStringLiteral("1"));
    raw->setProcessEnvironment(environment);
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
