#pragma once

#include "renaming/Workspace.h"

#include <QStringList>

class FakeWorkspace final : public Workspace
{
public:
    QStringList revealed;
    QStringList opened;

    void reveal(const QString &filePath) override { revealed.append(filePath); }
    void openFolder(const QString &folderPath) override { opened.append(folderPath); }
};
