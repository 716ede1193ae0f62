// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "intake/FolderEventSource.h"

#include <functional>
#include <memory>

// Calls a handler each time an entry of one folder is added, removed or renamed, on the thread
// that created the event source (the main thread in the application). Nothing is merged.
class DirectoryChangeObserver final
{
public:
    // Nothing when there is no source, that is, when the folder could not be watched.
    static std::unique_ptr<DirectoryChangeObserver> create(std::unique_ptr<FolderEventSource> source,
                                                           std::function<void()> onChange);

    QString folderPath() const { return m_source->folderPath(); }

private:
    explicit DirectoryChangeObserver(std::unique_ptr<FolderEventSource> source);

    std::unique_ptr<FolderEventSource> m_source;
};
