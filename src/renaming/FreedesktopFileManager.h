// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "renaming/FileManager.h"

#include <QObject>

// The file manager over the session bus (org.freedesktop.FileManager1), falling back to opening
// the folder with `opener` (xdg-open). Main thread.
class FreedesktopFileManager final : public QObject, public FileManager
{
    Q_OBJECT

public:
    explicit FreedesktopFileManager(QString opener = QStringLiteral("xdg-open"), QObject *parent = nullptr);

    void reveal(const QString &filePath, Done done = {}) override;
    void openFolder(const QString &folderPath, Done done = {}) override;

private:
    QString m_opener;
};
