// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktopsearch/ResultActions.h"

class FileManager;

// Opens files with `opener` (xdg-open), which picks the user's default application, and reveals
// them through the file manager. Main thread.
class XdgResultActions final : public ResultActions
{
public:
    explicit XdgResultActions(FileManager &fileManager, QString opener = QStringLiteral("xdg-open"));

    void open(const QString &filePath) override;
    void reveal(const QString &filePath) override;

private:
    FileManager &m_fileManager;
    QString m_opener;
};
