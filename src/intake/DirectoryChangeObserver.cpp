// SPDX-License-Identifier: GPL-3.0-or-later
#include "intake/DirectoryChangeObserver.h"

std::unique_ptr<DirectoryChangeObserver>
DirectoryChangeObserver::create(std::unique_ptr<FolderEventSource> source, std::function<void()> onChange)
{
    if (!source)
        return nullptr;
    std::unique_ptr<DirectoryChangeObserver> observer(new DirectoryChangeObserver(std::move(source)));
    observer->m_source->setHandler([onChange = std::move(onChange)](const FolderEvent &event) {
        // Writes into an existing entry change no entry; everything else (and lost events) may.
        if (event.kind != FolderEventKind::Modified && event.kind != FolderEventKind::ClosedAfterWrite)
            onChange();
    });
    return observer;
}

DirectoryChangeObserver::DirectoryChangeObserver(std::unique_ptr<FolderEventSource> source)
    : m_source(std::move(source))
{}
