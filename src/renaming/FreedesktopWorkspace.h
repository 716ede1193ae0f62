#pragma once

#include "renaming/Workspace.h"

#include <QObject>

// The file manager over the session bus (org.freedesktop.FileManager1), falling back to
// xdg-open of the folder. Main thread.
class FreedesktopWorkspace final : public QObject, public Workspace
{
    Q_OBJECT

public:
    explicit FreedesktopWorkspace(QObject *parent = nullptr);

    void reveal(const QString &filePath) override;
    void openFolder(const QString &folderPath) override;
};
