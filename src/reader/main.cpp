// SPDX-License-Identifier: GPL-3.0-or-later
// quillo-reader: the confined process that decodes and reads one untrusted file at a time for Quillo.
// It links the decoders and the recognition engine, so Quillo itself does not have to.
#include "reader/ReadingWorker.h"
#include "reading/ReadingProtocol.h"

#include <QCoreApplication>
#include <QFile>
#include <QLoggingCategory>

#include <cstdio>
#include <cstring>
#include <unistd.h>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false"));
    const int status =
        argc == 4 && std::strcmp(argv[1], ReadingWorker::selfTestArgument) == 0
            ? ReadingWorker::selfTest(QFile::decodeName(argv[2]), QFile::decodeName(argv[3]))
            : ReadingWorker::serve(ReadingProtocol::workerSocket,
                                   (argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("eng"))
                                       .split(u'+', Qt::SkipEmptyParts));
    // Straight out: nothing to clean up, and a leak check at exit would need ptrace, which the
    // confinement refuses.
    std::fflush(nullptr);
    _exit(status);
}
