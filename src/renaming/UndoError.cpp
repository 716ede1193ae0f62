// SPDX-License-Identifier: GPL-3.0-or-later
#include "renaming/UndoError.h"

#include <QCoreApplication>

// `sentence` names the file as %1.
UndoError UndoError::aboutFile(const QString &fileName, const QString &sentence, Kind kind)
{
    return {kind, sentence.arg(fileName)};
}

UndoError UndoError::renamedFileMissing(const QString &fileName)
{
    return aboutFile(fileName,
                     QCoreApplication::translate(
                         "UndoError", "“%1” is no longer where Quillo put it, so it cannot be restored. "
                                      "It may have been moved, renamed or deleted."),
                     Kind::RenamedFileMissing);
}

UndoError UndoError::fileMissingForChange(const QString &fileName)
{
    return aboutFile(
        fileName,
        QCoreApplication::translate(
            "UndoError",
            "“%1” is no longer where Quillo put it. It may have been moved, renamed or deleted."),
        Kind::FileMissingForChange);
}

UndoError UndoError::renamedFileReplaced(const QString &fileName)
{
    return aboutFile(
        fileName,
        QCoreApplication::translate(
            "UndoError",
            "“%1” has been changed or replaced since Quillo renamed it, so Quillo leaves it as it is."),
        Kind::RenamedFileReplaced);
}

UndoError UndoError::alreadyNamed(const QString &fileName)
{
    return aboutFile(fileName, QCoreApplication::translate("UndoError", "“%1” was already named by Quillo."),
                     Kind::AlreadyNamed);
}
