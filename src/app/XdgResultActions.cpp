// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/XdgResultActions.h"

#include "app/AppLog.h"
#include "renaming/FileManager.h"

#include <QProcess>
#include <QUrl>

XdgResultActions::XdgResultActions(FileManager &fileManager, QString opener)
    : m_fileManager(fileManager)
    , m_opener(std::move(opener))
{}

void XdgResultActions::open(const QString &filePath)
{
    // Detached: the viewer outlives this short-lived process.
    if (!QProcess::startDetached(m_opener, {QUrl::fromLocalFile(filePath).toString(QUrl::FullyEncoded)}))
        qCWarning(lcApp).noquote()
            << QStringLiteral("Could not open %1: %2 did not start").arg(filePath, m_opener);
}

void XdgResultActions::reveal(const QString &filePath)
{
    m_fileManager.reveal(filePath, [filePath](const std::optional<QString> &problem) {
        if (problem)
            qCWarning(lcApp).noquote() << QStringLiteral("Could not show %1: %2").arg(filePath, *problem);
    });
}
