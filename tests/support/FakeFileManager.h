// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "renaming/FileManager.h"

#include <QStringList>

// Records what it was asked to show and answers at once, with `problem` when one is set.
class FakeFileManager final : public FileManager
{
public:
    QStringList revealed;
    QStringList opened;
    std::optional<QString> problem;

    void reveal(const QString &filePath, Done done) override
    {
        revealed.append(filePath);
        if (done)
            done(problem);
    }
    void openFolder(const QString &folderPath, Done done) override
    {
        opened.append(folderPath);
        if (done)
            done(problem);
    }
};
