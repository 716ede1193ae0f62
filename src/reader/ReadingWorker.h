// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// The reading process's side: `quillo` started by ReadingWorkers in its hidden worker role. It
// starts the recognition engine, confines itself (WorkerConfinement), says whether that worked, and
// then answers requests on the socket until it closes. It never opens the files it reads: each
// arrives as an open descriptor.
namespace ReadingWorker {

// The command-line switch of the worker role; the next argument names the languages ("deu+eng").
inline constexpr char roleArgument[] = "--reading-worker";
// A hidden check: confines itself, then tries to create `probe` for writing, read `secret`, open a
// socket and start a program, and prints what happened. Exit status 0 when all were refused.
inline constexpr char selfTestArgument[] = "--reading-worker-self-test";
// The socket to the main process, set up by the one that starts the worker.
constexpr int socketDescriptor = 3;

// The exit status of the worker role.
int serve(int socket, const QStringList &languages);
int selfTest(const QString &probe, const QString &secret);

} // namespace ReadingWorker
