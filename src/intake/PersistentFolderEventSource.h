// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "intake/FolderEventSource.h"

#include <memory>

// Watches a folder by its path rather than as one folder on disk. When the folder is deleted or
// moved away it reports FolderGone and watches the nearest existing folder above it instead; once
// a folder is at the path again it watches that one and reports FolderBack. Entry events of the
// folder pass through. Lives on the thread of the sources it makes.
class PersistentFolderEventSource final : public FolderEventSource
{
public:
    using Factory = std::function<std::unique_ptr<FolderEventSource>(const QString &folderPath)>;
    enum class IfMissing
    {
        Fail, // the folder must be there now
        Wait, // wait for it as for a folder that went away
    };

    // Nothing when the folder cannot be watched (or, missing, when no folder above it can be).
    static std::unique_ptr<FolderEventSource> create(const QString &folderPath, Factory factory,
                                                     IfMissing ifMissing);
    ~PersistentFolderEventSource() override;

    QString folderPath() const override { return m_folderPath; }
    void setHandler(Handler handler) override { m_handler = std::move(handler); }
    void flush() override { m_source->flush(); }

private:
    PersistentFolderEventSource(QString folderPath, Factory factory);
    bool watchFolder();
    bool watchAbove();
    void folderChanged(const FolderEvent &event);
    void aboveChanged(const FolderEvent &event);
    void lookForFolder();

    QString m_folderPath;
    Factory m_factory;
    std::unique_ptr<FolderEventSource> m_source; // on the folder, or on the folder waited in
    QString m_waitingIn;                         // that folder; empty while the folder is watched
    Handler m_handler;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};
