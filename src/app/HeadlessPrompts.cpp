// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/HeadlessPrompts.h"

#include "app/AppLog.h"

void HeadlessPrompts::warn(const QString &message, const QString &informativeText)
{
    qCWarning(lcApp).noquote() << message + QStringLiteral(": ") + informativeText;
}

std::optional<QString> HeadlessPrompts::chooseFolder(const QString &acceptLabel, const QString &message,
                                                     const QString &startFolder)
{
    qCInfo(lcApp).noquote() << QStringLiteral("%1 (%2): no interface to ask, so nothing was chosen for %3")
                                   .arg(acceptLabel, message, startFolder);
    return std::nullopt;
}
