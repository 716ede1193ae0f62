#pragma once

#include "renaming/FileManager.h"

#include <QObject>

// The file manager over the session bus (org.freedesktop.FileManager1), falling back to
// xdg-open of the folder. Main thread.
class FreedesktopFileManager final : public QObject, public FileManager
{
    Q_OBJECT

public:
    explicit FreedesktopFileManager(QObject *parent = nullptr);

    void reveal(const QString &filePath) override;
    void openFolder(const QString &folderPath) override;
};
