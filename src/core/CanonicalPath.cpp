// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/CanonicalPath.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Resolves links in the longest leading part of `folder` that exists; the rest stays as written.
QString resolvedFolder(const QString &folder)
{
    QString existing = folder;
    QString rest;
    for (;;) {
        const QString real = QFileInfo(existing).canonicalFilePath();
        if (!real.isEmpty())
            return rest.isEmpty() ? real : joinedPath(real, rest);
        if (existing == u'/')
            return folder;
        const qsizetype slash = existing.lastIndexOf(u'/');
        const QString component = existing.mid(slash + 1);
        rest = rest.isEmpty() ? component : component + u'/' + rest;
        existing = slash == 0 ? QStringLiteral("/") : existing.left(slash);
    }
}

} // namespace

QString canonicalPath(const QString &path)
{
    if (path.isEmpty())
        return {};
    const QString standard = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    if (standard == u'/')
        return standard;
    const qsizetype slash = standard.lastIndexOf(u'/');
    const QString parent = slash == 0 ? QStringLiteral("/") : standard.left(slash);
    return joinedPath(resolvedFolder(parent), standard.mid(slash + 1));
}

QString joinedPath(const QString &folder, const QString &name)
{
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}
