// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>
#include <optional>

// Opens and reveals files in the user's file manager. Calls return at once; `done`, when given, is
// called later on the caller's thread with nothing once the file manager took the request, or with
// why nothing could show it, in words for the user.
class FileManager
{
public:
    using Done = std::function<void(const std::optional<QString> &problem)>;

    virtual ~FileManager() = default;
    virtual void reveal(const QString &filePath, Done done = {}) = 0;
    virtual void openFolder(const QString &folderPath, Done done = {}) = 0;
};
