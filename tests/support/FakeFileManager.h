#pragma once

#include "renaming/FileManager.h"

#include <QStringList>

class FakeFileManager final : public FileManager
{
public:
    QStringList revealed;
    QStringList opened;

    void reveal(const QString &filePath) override { revealed.append(filePath); }
    void openFolder(const QString &folderPath) override { opened.append(folderPath); }
};
