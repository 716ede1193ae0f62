// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The form in which paths are compared and remembered everywhere: absolute, "." and ".."
// removed, symbolic links in the parent folders resolved, the last component kept as it is
// (a link that is the file itself is not followed). Where the parent does not exist yet, links
// in the part of it that does exist are resolved. Touches the disk (realpath).
QString canonicalPath(const QString &path);

// `name` inside `folder`, with one slash between them.
QString joinedPath(const QString &folder, const QString &name);
