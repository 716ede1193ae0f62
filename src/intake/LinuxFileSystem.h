// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "intake/FileSystem.h"

// The file-system services on Linux system calls. Holds no state: safe to use from any thread.
// Not final: the test double derives from it to inject failures.
class LinuxFileSystem : public FileSystem
{
public:
    // The system calls at which a failure can be injected.
    enum class Step
    {
        CreateFolder, // making a folder
        Rename,       // moving within one file system
        CopyWrite,    // writing the copy of a move to another file system
        LinkCopy,     // giving that copy the target name
        RemoveSource, // removing the source once the copy is in place
        SetAttribute, // writing an extended attribute
    };

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

protected:
    // 0, or the errno with which `step` on `path` fails instead of calling the system.
    virtual int injectedError(Step step, const QString &path) const;
};
