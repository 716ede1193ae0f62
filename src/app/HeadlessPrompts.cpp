// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/HeadlessPrompts.h"

#include "app/AppLog.h"

void HeadlessPrompts::warn(const QString &message, const QString &informativeText)
{
    qCWarning(lcApp).noquote() << message + QStringLiteral(": ") + informativeText;
}

bool HeadlessPrompts::confirm(const QString &message, const QString &, const QString &acceptLabel)
{
    qCInfo(lcApp).noquote()
        << QStringLiteral("%1: no interface to ask, so not \u201C%2\u201D").arg(message, acceptLabel);
    return false;
}

std::optional<QString> HeadlessPrompts::chooseFolder(const QString &acceptLabel, const QString &message,
                                                     const QString &startFolder)
{
    qCInfo(lcApp).noquote() << QStringLiteral("%1 (%2): no interface to ask, so nothing was chosen for %3")
                                   .arg(acceptLabel, message, startFolder);
    return std::nullopt;
}
