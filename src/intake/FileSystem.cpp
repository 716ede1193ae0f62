// SPDX-License-Identifier: GPL-3.0-or-later
#include "intake/FileSystem.h"

#include <cerrno>

FileResult FileResult::fromErrno(int errorNumber, const QString &what)
{
    FileError error = FileError::Other;
    if (errorNumber == ENOENT)
        error = FileError::NotFound;
    else if (errorNumber == EEXIST)
        error = FileError::FileExists;
    else if (errorNumber == EOPNOTSUPP)
        error = FileError::Unsupported;
    return failure(error, what + QStringLiteral(": ") + qt_error_string(errorNumber) + u'.');
}
