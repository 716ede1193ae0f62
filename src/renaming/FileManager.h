#pragma once

#include <QString>

// Opens and reveals files in the user's file manager. Calls return at once.
class FileManager
{
public:
    virtual ~FileManager() = default;
    virtual void reveal(const QString &filePath) = 0;
    virtual void openFolder(const QString &folderPath) = 0;
};
