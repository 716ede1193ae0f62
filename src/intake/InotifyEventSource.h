// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/FileDescriptor.h"
#include "intake/FolderEventSource.h"

#include <memory>

class QSocketNotifier;

// Folder events from inotify, read through a socket notifier on the creating thread, which must
// run an event loop. Destroy the source on that thread.
class InotifyEventSource final : public FolderEventSource
{
public:
    // Nothing when the folder cannot be watched (missing, not a folder, no watches left); logged.
    static std::unique_ptr<FolderEventSource> create(const QString &folderPath);
    ~InotifyEventSource() override;

    QString folderPath() const override { return m_folderPath; }
    void setHandler(Handler handler) override { m_handler = std::move(handler); }
    void flush() override { readEvents(); }

private:
    InotifyEventSource(FileDescriptor inotify, QString folderPath);
    void readEvents();

    FileDescriptor m_inotify;
    QString m_folderPath;
    std::unique_ptr<QSocketNotifier> m_notifier;
    Handler m_handler;
    bool m_isGone = false;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};
