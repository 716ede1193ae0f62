// SPDX-License-Identifier: GPL-3.0-or-later
#include "intake/LinuxFileSystem.h"

#include "core/FileDescriptor.h"
#include "intake/IntakeLog.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr qsizetype attributeSizeLimit = 64 * 1024; // the kernel's XATTR_SIZE_MAX
constexpr size_t copyBufferSize = 1024 * 1024;

using Step = LinuxFileSystem::Step;
// Asks whether a step is to fail on purpose; 0 or an errno.
using Faults = std::function<int(Step step, const QString &path)>;

QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

QString quotedName(const QString &path)
{
    return u'“' + QFileInfo(path).fileName() + u'”';
}

QString folderOf(const QString &path)
{
    return QFileInfo(path).absolutePath();
}

FileResult moveFailure(int errorNumber, const QString &source, const QString &target)
{
    if (errorNumber == EEXIST)
        return FileResult::failure(FileError::FileExists,
                                   QStringLiteral("An item named %1 already exists in %2.")
                                       .arg(quotedName(target), quotedName(folderOf(target))));
    return FileResult::fromErrno(
        errorNumber,
        QStringLiteral("Could not move %1 to %2").arg(quotedName(source), quotedName(folderOf(target))));
}

// Renames within one file system without ever replacing the target. Returns 0 or an errno.
int renameWithoutReplacing(const QByteArray &from, const QByteArray &to, Step step, const Faults &faults)
{
    if (const int error = faults(step, QFile::decodeName(to)))
        return error;
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    const int renameError = errno;
    // Some network and FUSE file systems lack the flag; a hard link refuses existing names too.
    if (renameError != EINVAL && renameError != ENOSYS && renameError != EOPNOTSUPP)
        return renameError;
    if (::link(from.constData(), to.constData()) != 0)
        return errno;
    if (::unlink(from.constData()) != 0) {
        const int unlinkError = errno;
        ::unlink(to.constData());
        return unlinkError;
    }
    return 0;
}

int writeAll(int fd, const char *data, size_t size, const QString &target, const Faults &faults)
{
    while (size > 0) {
        if (const int error = faults(Step::CopyWrite, target))
            return error;
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data += written;
        size -= size_t(written);
    }
    return 0;
}

int copyContents(int from, int to, const QString &target, const Faults &faults)
{
    std::vector<char> buffer(copyBufferSize);
    for (;;) {
        const ssize_t count = ::read(from, buffer.data(), buffer.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return errno;
        if (count == 0)
            return 0;
        if (const int error = writeAll(to, buffer.data(), size_t(count), target, faults))
            return error;
    }
}

// Copies the user.* attributes. A target that cannot hold any keeps the file without them.
int copyUserAttributes(int from, int to, const QString &target)
{
    const ssize_t listSize = ::flistxattr(from, nullptr, 0);
    if (listSize <= 0)
        return 0; // none, or a source file system without attributes
    QByteArray names(listSize, Qt::Uninitialized);
    const ssize_t listed = ::flistxattr(from, names.data(), size_t(names.size()));
    if (listed < 0)
        return errno;
    QByteArray value(attributeSizeLimit, Qt::Uninitialized);
    for (const QByteArray &name : names.left(listed).split('\0')) {
        if (!name.startsWith("user."))
            continue;
        const ssize_t size = ::fgetxattr(from, name.constData(), value.data(), size_t(value.size()));
        if (size < 0)
            return errno;
        if (::fsetxattr(to, name.constData(), value.constData(), size_t(size), 0) != 0) {
            if (errno != EOPNOTSUPP)
                return errno;
            qCWarning(lcIntake) << "The file system of" << target << "keeps no extended attributes;"
                                << "moved the file without them";
            return 0;
        }
    }
    return 0;
}

// Everything except the final link: contents, attributes, mode and times, flushed to disk.
int writeCopy(int from, const struct stat &status, int to, const QString &target, const Faults &faults)
{
    if (const int error = copyContents(from, to, target, faults))
        return error;
    if (const int error = copyUserAttributes(from, to, target))
        return error;
    if (::fchmod(to, status.st_mode & 07777) != 0)
        return errno;
    const timespec times[2] = {status.st_atim, status.st_mtim};
    if (::futimens(to, times) != 0)
        return errno;
    return ::fsync(to) == 0 ? 0 : errno;
}

// Copies into a hidden temporary file beside the target, links it to the target name without
// replacing, and only then removes the source. Any failure removes what was written.
FileResult moveAcrossFileSystems(const QString &source, const QString &target, const Faults &faults)
{
    const QByteArray from = encoded(source);
    const QByteArray to = encoded(target);
    const FileDescriptor input(::open(from.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    if (!input.isValid())
        return moveFailure(errno, source, target);
    struct stat status = {};
    if (::fstat(input.get(), &status) != 0)
        return moveFailure(errno, source, target);
    if (!S_ISREG(status.st_mode))
        return FileResult::failure(FileError::Other, QStringLiteral("%1 is not a file and cannot be moved to "
                                                                    "another drive.")
                                                         .arg(quotedName(source)));

    QByteArray temporary = encoded(folderOf(target)) + "/.quillo-move-XXXXXX";
    FileDescriptor output(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!output.isValid())
        return moveFailure(errno, source, target);
    int error = writeCopy(input.get(), status, output.get(), target, faults);
    if (const int closeError = output.close(); error == 0)
        error = closeError;
    if (error == 0)
        error = renameWithoutReplacing(temporary, to, Step::LinkCopy, faults);
    if (error != 0) {
        ::unlink(temporary.constData());
        return moveFailure(error, source, target);
    }
    error = faults(Step::RemoveSource, source);
    if (error == 0 && ::unlink(from.constData()) != 0)
        error = errno;
    if (error != 0) {
        // The copy goes again, so that the file is in exactly one place: where it was.
        if (::unlink(to.constData()) != 0)
            qCWarning(lcIntake) << "Could not remove" << target << "after failing to remove" << source
                                << "; the file is now in both places";
        return moveFailure(error, source, target);
    }
    return FileResult::success();
}

} // namespace

bool LinuxFileSystem::exists(const QString &path) const
{
    struct stat status = {};
    return ::lstat(encoded(path).constData(), &status) == 0;
}

bool LinuxFileSystem::isDirectory(const QString &path) const
{
    struct stat status = {};
    return ::stat(encoded(path).constData(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool LinuxFileSystem::isWritable(const QString &path) const
{
    return ::faccessat(AT_FDCWD, encoded(path).constData(), W_OK, AT_EACCESS) == 0;
}

std::optional<FileFacts> LinuxFileSystem::facts(const QString &path) const
{
    struct statx status = {};
    if (::statx(AT_FDCWD, encoded(path).constData(), AT_SYMLINK_NOFOLLOW,
                STATX_TYPE | STATX_INO | STATX_SIZE | STATX_MTIME | STATX_BTIME, &status) != 0)
        return std::nullopt;
    FileFacts facts;
    facts.isDirectory = S_ISDIR(status.stx_mode);
    facts.isSymbolicLink = S_ISLNK(status.stx_mode);
    facts.isSpecial = !S_ISREG(status.stx_mode) && !facts.isDirectory && !facts.isSymbolicLink;
    facts.identity = {::makedev(status.stx_dev_major, status.stx_dev_minor), status.stx_ino,
                      qint64(status.stx_size),
                      qint64(status.stx_mtime.tv_sec) * 1'000'000'000 + status.stx_mtime.tv_nsec};
    if (status.stx_mask & STATX_BTIME) {
        const qint64 msecs = status.stx_btime.tv_sec * 1000 + status.stx_btime.tv_nsec / 1'000'000;
        facts.creationDate = QDateTime::fromMSecsSinceEpoch(msecs, Qt::UTC);
    }
    return facts;
}

std::optional<QString> LinuxFileSystem::realPath(const QString &path) const
{
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(encoded(path).constData(), nullptr),
                                                               &std::free);
    if (!resolved)
        return std::nullopt;
    return QFile::decodeName(resolved.get());
}

std::optional<QByteArray> LinuxFileSystem::readStart(const QString &path, qsizetype maxBytes) const
{
    // Non-blocking, so that a FIFO with a screenshot's name cannot stall the caller.
    const FileDescriptor fd(
        ::open(encoded(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW));
    struct stat status = {};
    if (!fd.isValid() || ::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    QByteArray bytes(qMin<qsizetype>(maxBytes, status.st_size), Qt::Uninitialized);
    qsizetype filled = 0;
    while (filled < bytes.size()) {
        const ssize_t count = ::pread(fd.get(), bytes.data() + filled, size_t(bytes.size() - filled), filled);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return std::nullopt;
        if (count == 0)
            break; // the file shrank meanwhile
        filled += count;
    }
    bytes.truncate(filled);
    return bytes;
}

FileResult LinuxFileSystem::createFolder(const QString &path) const
{
    std::error_code error;
    if (const int injected = injectedError(Step::CreateFolder, path); injected != 0 && !isDirectory(path))
        error.assign(injected, std::generic_category());
    else
        std::filesystem::create_directories(encoded(path).toStdString(), error);
    if (!error && isDirectory(path))
        return FileResult::success();
    return FileResult::fromErrno(error ? error.value() : EEXIST,
                                 QStringLiteral("Could not create the folder %1").arg(quotedName(path)));
}

FileResult LinuxFileSystem::move(const QString &source, const QString &target) const
{
    const Faults faults = [this](Step step, const QString &path) {
        return injectedError(step, path);
    };
    const int error = renameWithoutReplacing(encoded(source), encoded(target), Step::Rename, faults);
    if (error == 0)
        return FileResult::success();
    if (error == EXDEV)
        return moveAcrossFileSystems(source, target, faults);
    return moveFailure(error, source, target);
}

std::optional<QByteArray> LinuxFileSystem::extendedAttribute(const QString &path,
                                                             const QByteArray &name) const
{
    const QByteArray file = encoded(path);
    const ssize_t size = ::lgetxattr(file.constData(), name.constData(), nullptr, 0);
    if (size < 0 || size > attributeSizeLimit)
        return std::nullopt;
    QByteArray value(size, Qt::Uninitialized);
    const ssize_t read = ::lgetxattr(file.constData(), name.constData(), value.data(), size_t(value.size()));
    if (read < 0)
        return std::nullopt; // gone, or grown, since the size was asked
    value.truncate(read);
    return value;
}

FileResult LinuxFileSystem::setExtendedAttribute(const QString &path, const QByteArray &name,
                                                 const QByteArray &value) const
{
    int error = injectedError(Step::SetAttribute, path);
    if (error == 0) {
        if (::lsetxattr(encoded(path).constData(), name.constData(), value.constData(), size_t(value.size()),
                        0) == 0)
            return FileResult::success();
        error = errno;
    }
    if (error == EOPNOTSUPP)
        return FileResult::failure(
            FileError::Unsupported,
            QStringLiteral("The file system of %1 does not keep extended attributes.").arg(quotedName(path)));
    return FileResult::fromErrno(error, QStringLiteral("Could not mark %1").arg(quotedName(path)));
}

int LinuxFileSystem::injectedError(Step, const QString &) const
{
    return 0;
}
