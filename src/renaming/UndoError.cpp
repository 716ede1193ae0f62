// SPDX-License-Identifier: GPL-3.0-or-later
#include "renaming/UndoError.h"

UndoError UndoError::aboutFile(const QString &fileName, const QString &problem, Kind kind)
{
    return {kind, u'\u201C' + fileName + QStringLiteral("\u201D ") + problem};
}

UndoError UndoError::renamedFileMissing(const QString &fileName)
{
    return aboutFile(fileName,
                     QStringLiteral("is no longer where Quillo put it, so it cannot be restored. "
                                    "It may have been moved, renamed or deleted."),
                     Kind::RenamedFileMissing);
}

UndoError UndoError::fileMissingForChange(const QString &fileName)
{
    return aboutFile(
        fileName,
        QStringLiteral("is no longer where Quillo put it. It may have been moved, renamed or deleted."),
        Kind::FileMissingForChange);
}

UndoError UndoError::alreadyNamed(const QString &fileName)
{
    return aboutFile(fileName, QStringLiteral("was already named by Quillo."), Kind::AlreadyNamed);
}
