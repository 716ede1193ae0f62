#pragma once

#include <QProcess>

#include <memory>

// The real quillo binary, run by end-to-end tests in the test's HOME.
namespace QuilloProcess {

// Starts `binary` with its log on standard error (passed on to the test's), and returns once the
// log has said `readyLine`, or with a warning after 10 s.
std::unique_ptr<QProcess> start(const QString &binary, const QStringList &arguments,
                                const QByteArray &readyLine,
                                QProcessEnvironment environment = QProcessEnvironment::systemEnvironment());
// What a process from start() has logged so far.
QByteArray log(const QProcess &process);

} // namespace QuilloProcess
