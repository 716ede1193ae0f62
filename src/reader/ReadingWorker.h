// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// The reading process's side: `quillo-reader`, started by ReadingWorkers. It starts the recognition
// engine, confines itself (WorkerConfinement), says whether that worked, and
// then answers requests on the socket until it closes. It never opens the files it reads: each
// arrives as an open descriptor.
namespace ReadingWorker {

// Its only argument names the languages ("deu+eng"). This one instead, with two paths, is a check:
// it confines itself, then tries to create `probe` for writing, read `secret`, open a socket and
// start a program, and prints what happened. Exit status 0 when all were refused.
inline constexpr char selfTestArgument[] = "--self-test";

// The reading process's exit status.
int serve(int socket, const QStringList &languages);
int selfTest(const QString &probe, const QString &secret);

} // namespace ReadingWorker
