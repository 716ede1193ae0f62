#include "support/QuilloProcess.h"

#include <QTest>

std::unique_ptr<QProcess> QuilloProcess::start(const QString &binary, const QStringList &arguments,
                                               const QByteArray &readyLine, QProcessEnvironment environment)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessChannelMode(QProcess::ForwardedOutputChannel);
    environment.insert(QStringLiteral("QUILLO_LOG_TO_STDERR"), QStringLiteral("1"));
    process->setProcessEnvironment(environment);
    process->start(binary, arguments);
    if (!process->waitForStarted(5000))
        qFatal("quillo did not start");
    auto log = std::make_shared<QByteArray>();
    QProcess *raw = process.get();
    QObject::connect(raw, &QProcess::readyReadStandardError, raw, [raw, log] {
        const QByteArray chunk = raw->readAllStandardError();
        log->append(chunk);
        raw->setProperty("quilloLog", *log);
        fputs(chunk.constData(), stderr);
    });
    if (!QTest::qWaitFor(
            [&] {
                return log->contains(readyLine);
            },
            10000))
        qWarning("quillo never said %s", readyLine.constData());
    return process;
}

QByteArray QuilloProcess::log(const QProcess &process)
{
    return process.property("quilloLog").toByteArray();
}
