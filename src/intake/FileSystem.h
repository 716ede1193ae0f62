// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

enum class FileError
{
    None,
    FileExists,  // the target name is taken; callers pick another name and retry
    NotFound,    // the source (or a folder on the way) is gone
    Unsupported, // the file system cannot do this, e.g. no user extended attributes
    Other,
};

// The outcome of a file operation: success, or the failure with a description a user can read.
struct FileResult
{
    FileError error = FileError::None;
    QString description;

    bool isSuccess() const { return error == FileError::None; }
    explicit operator bool() const { return isSuccess(); }
    bool operator==(const FileResult &) const = default;

    static FileResult success() { return {}; }
    static FileResult failure(FileError error, const QString &description) { return {error, description}; }
    // Classifies an errno value; `what` says what was attempted ("Could not move “a.png”").
    static FileResult fromErrno(int errorNumber, const QString &what);
};

// Which file a name leads to, and which version of it: another file put in its place, or the same
// file written again, compares unequal.
struct FileIdentity
{
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0; // modification time in nanoseconds since the Unix epoch

    bool operator==(const FileIdentity &) const = default;
};

// What the detector needs to know about one file, as the name itself (a symbolic link is not
// followed).
struct FileFacts
{
    bool isDirectory = false;
    bool isSymbolicLink = false;
    std::optional<QDateTime> creationDate; // birth time, when the file system keeps one
    FileIdentity identity;
    bool isSpecial = false; // a FIFO, socket or device, which is never a picture

    bool operator==(const FileFacts &) const = default;
};

// The file-system services the rest of the program uses. Paths are absolute local paths. Calls
// act on the disk, not on this object (hence const), block only for local I/O and return every
// failure as a value.
class FileSystem
{
public:
    virtual ~FileSystem() = default;

    // True when anything, even a dangling symbolic link, has this name.
    virtual bool exists(const QString &path) const = 0;
    // True when the path leads (through links) to a folder.
    virtual bool isDirectory(const QString &path) const = 0;
    virtual bool isWritable(const QString &path) const = 0;
    // Nothing when the file cannot be examined, for example because it is already gone. A symbolic
    // link is described as itself.
    virtual std::optional<FileFacts> facts(const QString &path) const = 0;
    // The path with every symbolic link resolved; nothing when it does not exist.
    virtual std::optional<QString> realPath(const QString &path) const = 0;
    // At most `maxBytes` from the start of the file; nothing when it cannot be read or is a link.
    virtual std::optional<QByteArray> readStart(const QString &path, qsizetype maxBytes) const = 0;

    // Creates the folder and any missing parents; succeeds when the folder already exists.
    virtual FileResult createFolder(const QString &path) const = 0;
    // Moves or renames atomically. An existing target is never replaced: that fails with
    // FileError::FileExists. On any failure the source is left as it was.
    virtual FileResult move(const QString &source, const QString &target) const = 0;

    // Attributes belong to the name itself: a symbolic link is not followed.
    // The value of a user extended attribute (names carry the "user." prefix); nothing when absent.
    virtual std::optional<QByteArray> extendedAttribute(const QString &path,
                                                        const QByteArray &name) const = 0;
    virtual FileResult setExtendedAttribute(const QString &path, const QByteArray &name,
                                            const QByteArray &value) const = 0;
};
