#pragma once

#include <QString>

// Opens and reveals files in the user's file manager. Calls return at once.
class Workspace
{
public:
    virtual ~Workspace() = default;
    virtual void reveal(const QString &filePath) = 0;
    virtual void openFolder(const QString &folderPath) = 0;
};
