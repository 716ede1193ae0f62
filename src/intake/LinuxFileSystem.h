#pragma once

#include "intake/FileSystem.h"

// The file-system services on Linux system calls. Holds no state: safe to use from any thread.
// Not final: the test double derives from it to inject failures.
class LinuxFileSystem : public FileSystem
{
public:
    bool exists(const QString &path) const override;
    bool isDirectory(const QString &path) const override;
    bool isWritable(const QString &path) const override;
    std::optional<FileFacts> facts(const QString &path) const override;
    std::optional<QString> realPath(const QString &path) const override;
    std::optional<QByteArray> readStart(const QString &path, qsizetype maxBytes) const override;

    FileResult createFolder(const QString &path) const override;
    // renameat2(RENAME_NOREPLACE), else link + unlink; across file systems a copy that is
    // flushed and then linked in without replacing, before the source is removed.
    FileResult move(const QString &source, const QString &target) const override;

    std::optional<QByteArray> extendedAttribute(const QString &path, const QByteArray &name) const override;
    FileResult setExtendedAttribute(const QString &path, const QByteArray &name,
                                    const QByteArray &value) const override;
};
