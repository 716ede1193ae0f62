// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/ReadingWorker.h"

#include "reader/ScreenshotImage.h"
#include "reader/TextRecognizer.h"
#include "reader/WorkerConfinement.h"
#include "reading/ReadingProtocol.h"
#include "reading/RecognitionLanguages.h"

#include <QCoreApplication>
#include <QFile>
#include <QImageReader>

#include <sys/socket.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <malloc.h>
#include <new>
#include <thread>
#include <unistd.h>

// Exported by Tesseract without a public header.
namespace tesseract {
void tprintf(const char *format, ...);
}

namespace {

// Requests are a few dozen bytes.
constexpr qint64 maximumRequestBytes = 4096;

// What the worker reads besides the system's folders: the recognition data and Qt's plugins.
QStringList readableFolders()
{
    QStringList folders = QCoreApplication::libraryPaths();
    // Qt lists the program's own folder too, which may hold anything.
    folders.removeAll(QCoreApplication::applicationDirPath());
    folders.append(RecognitionLanguages::dataFolder());
    return folders;
}

// Plugins and decoders set up before confinement, so nothing needs loading afterwards.
void loadDecoders()
{
    QImageReader::supportedImageFormats();
    // Tesseract opens its debug file (/dev/null) for writing at its first message, which the
    // confinement would refuse, and its notes would then go to standard error.
    tesseract::tprintf("%s", "");
    ScreenshotImage::decode(QByteArray(), QStringLiteral("heic"));
}

// A page's bitmaps and Tesseract's grids, tens of megabytes, are freed and allocated again for every
// file. A reader alone on the machine keeps them in its heap, their pages mapped for the next file:
// given back, every page faults in again, a tenth of the processor time on a virtual machine. Readers
// sharing the cores in a burst give them back after each file, so that together they stay small. An
// idle reader is ended soon, and that gives them back too.
void keepFreedPages(bool keep)
{
    static bool kept = true; // glibc's own policy until the first call
    if (keep == kept)
        return;
    // Fixed limits either way: otherwise glibc raises them after the first large image is freed.
    constexpr int megabyte = 1024 * 1024;
    mallopt(M_MMAP_THRESHOLD, keep ? 64 * megabyte : 4 * megabyte);
    mallopt(M_TRIM_THRESHOLD, keep ? 64 * megabyte : 8 * megabyte);
    if (!keep)
        malloc_trim(0);
    kept = keep;
}

struct FileBytes
{
    QByteArray bytes;
    QString error;
    bool isOverBudget = false;
};

FileBytes readAll(int descriptor)
{
    FileBytes file;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = read(descriptor, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return {
                {},
                QStringLiteral("cannot read file (%1)").arg(QString::fromLocal8Bit(std::strerror(errno)))};
        if (got == 0)
            return file;
        if (file.bytes.size() + got > ScreenshotImage::maximumFileBytes)
            return {{}, Reading::tooLongText(file.bytes.size() + got), true};
        file.bytes.append(buffer, got);
    }
}

ReadingProtocol::Answer answer(const ReadingProtocol::Request &request, int descriptor,
                               TextRecognizer &recognizer)
{
    const FileBytes file = readAll(descriptor);
    if (!file.error.isEmpty())
        return {{{}, file.error, file.isOverBudget}, {}};
    if (request.kind == ReadingProtocol::Kind::Lines) {
        recognizer.setTimeBudget(std::chrono::milliseconds(request.budgetMs));
        recognizer.setThreads(request.threads);
        keepFreedPages(request.threads > 1);
        return {recognizer.recognizeData(file.bytes, request.extension), {}};
    }
    ScreenshotImage::Decoded decoded = ScreenshotImage::decode(
        file.bytes, request.extension, ProcessorDeadline(std::chrono::milliseconds(request.budgetMs)));
    return {{{}, decoded.error, decoded.isOverBudget}, std::move(decoded.image)};
}

// A request's descriptor must be a file opened for reading, as the main process opens them.
bool isReadableFile(int descriptor)
{
    const int flags = fcntl(descriptor, F_GETFL);
    return flags >= 0 && (flags & O_ACCMODE) == O_RDONLY;
}

QString outcome(bool refused, int error)
{
    return refused ? QStringLiteral("refused (%1)").arg(QString::fromLocal8Bit(std::strerror(error)))
                   : QStringLiteral("ALLOWED");
}

} // namespace

namespace ReadingWorker {

int serve(int socket, const QStringList &languages)
{
    // A Quillo that ended without ending its workers (killed, or not waiting for a stalled file)
    // must not leave one drawing a hostile page for minutes.
    std::thread([parent = getppid()] {
        while (getppid() == parent)
            std::this_thread::sleep_for(std::chrono::seconds(1));
        _exit(0);
    }).detach();
    keepFreedPages(false);
    TextRecognizer recognizer(languages);
    loadDecoders();
    const QString refusal = WorkerConfinement::confine(readableFolders());
    if (!ReadingProtocol::send(socket, ReadingProtocol::encode(ReadingProtocol::Answer{{{}, refusal}, {}})) ||
        !refusal.isEmpty())
        return 1;
    for (;;) {
        ReadingProtocol::Reception reception =
            ReadingProtocol::receive(socket, QDeadlineTimer(QDeadlineTimer::Forever), maximumRequestBytes);
        if (reception.status != ReadingProtocol::Received::Message)
            return 0;
        const auto request = ReadingProtocol::decodeRequest(reception.message);
        if (!request || !reception.descriptor.isValid() || !isReadableFile(reception.descriptor.get()))
            return 1;
        ReadingProtocol::Answer reply;
        try {
            reply = answer(*request, reception.descriptor.get(), recognizer);
        } catch (const std::bad_alloc &) {
            reply = {{{}, QStringLiteral("reading it needed more memory than a screenshot may"), true}, {}};
        }
        reception.descriptor.reset();
        if (!ReadingProtocol::send(socket, ReadingProtocol::encode(reply)))
            return 0;
    }
}

int selfTest(const QString &probe, const QString &secret)
{
    const QString refusal = WorkerConfinement::confine(readableFolders());
    if (!refusal.isEmpty()) {
        std::printf("confinement: %s\n", qPrintable(refusal));
        return 1;
    }
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("NoNewPrivs") || line.startsWith("Seccomp:"))
                std::printf("%s\n", line.constData());
    bool allRefused = true;
    const auto report = [&allRefused](const char *what, int result) {
        const int error = errno;
        if (result >= 0)
            close(result);
        allRefused = allRefused && result < 0;
        std::printf("%s: %s\n", what, qPrintable(outcome(result < 0, error)));
    };
    report("write", open(QFile::encodeName(probe).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
    if (WorkerConfinement::restrictsFileSystem())
        report("read", open(QFile::encodeName(secret).constData(), O_RDONLY | O_CLOEXEC));
    else
        std::printf("read: not restricted (the kernel has no Landlock)\n");
    report("socket", socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    report("local socket", socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    char *const arguments[] = {const_cast<char *>("/bin/true"), nullptr};
    report("execute", execv("/bin/true", arguments));
    return allRefused ? 0 : 1;
}

} // namespace ReadingWorker
