#include "renaming/UndoError.h"

UndoError UndoError::renamedFileMissing(const QString &fileName)
{
    return {Kind::RenamedFileMissing,
            u'\u201C' + fileName +
                QStringLiteral("\u201D is no longer where Quillo put it, so it cannot be restored. "
                               "It may have been moved, renamed or deleted.")};
}

UndoError UndoError::fileMissingForChange(const QString &fileName)
{
    return {Kind::FileMissingForChange,
            u'\u201C' + fileName +
                QStringLiteral(
                    "\u201D is no longer where Quillo put it. It may have been moved, renamed or deleted.")};
}

UndoError UndoError::alreadyNamed(const QString &fileName)
{
    return {Kind::AlreadyNamed, u'\u201C' + fileName + QStringLiteral("\u201D was already named by Quillo.")};
}
