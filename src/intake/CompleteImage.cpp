// SPDX-License-Identifier: GPL-3.0-or-later
#include "intake/CompleteImage.h"

#include "core/FileDescriptor.h"

#include <QByteArray>
#include <QFile>

#include <sys/stat.h>

#include <fcntl.h>

namespace {

constexpr qsizetype edgeSize = 12;

QByteArray readAt(int fd, off_t offset, qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    const ssize_t got = ::pread(fd, bytes.data(), size_t(size), offset);
    return got == size ? bytes : QByteArray();
}

quint32 littleEndian32(const QByteArray &bytes, qsizetype at)
{
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | quint8(bytes.at(at + i));
    return value;
}

} // namespace

namespace CompleteImage {

bool isComplete(const QString &path)
{
    // Non-blocking, so that a FIFO put there cannot hold the watcher.
    const FileDescriptor fd(
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info = {};
    if (!fd.isValid() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_size < 2 * edgeSize)
        return false;
    const QByteArray head = readAt(fd.get(), 0, edgeSize);
    const QByteArray tail = readAt(fd.get(), info.st_size - edgeSize, edgeSize);
    if (head.isEmpty() || tail.isEmpty())
        return false;
    if (head.startsWith("\x89PNG\r\n\x1a\n"))
        return tail == QByteArrayLiteral("\0\0\0\0IEND\xae\x42\x60\x82");
    if (head.startsWith("\xff\xd8\xff"))
        return tail.endsWith("\xff\xd9");
    if (head.startsWith("RIFF") && head.mid(8, 4) == "WEBP")
        return off_t(littleEndian32(head, 4)) + 8 == info.st_size;
    return false;
}

} // namespace CompleteImage
