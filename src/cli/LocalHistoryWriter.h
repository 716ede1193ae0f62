// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/HistoryWriter.h"
#include "index/IndexWriter.h"
#include "intake/LinuxFileSystem.h"
#include "renaming/RenameHistoryStore.h"
#include "settings/PreferencesStore.h"
#include "settings/SettingsStore.h"

// Quillo's renaming parts in this process, on the stored settings and history: the writer when no
// Quillo runs, and what the command line reads the rules and the history through either way.
class LocalHistoryWriter final : public HistoryWriter
{
public:
    LocalHistoryWriter();

    RenameOutcome<RenameRecord> rename(const NamedFile &file) override
    {
        return m_coordinator.renameNamed(file);
    }
    RenameOutcome<QString> undo(const QUuid &id) override { return m_coordinator.undo(id); }

    RenameCoordinator &coordinator() { return m_coordinator; }
    RenameHistoryStore &history() { return m_history; }
    const SettingsStore &settings() const { return m_settings; }
    const FileSystem &fileSystem() const { return m_fileSystem; }
    IndexWriter &index() { return m_index; }

private:
    PreferencesStore m_preferences;
    SettingsStore m_settings;
    RenameHistoryStore m_history;
    LinuxFileSystem m_fileSystem;
    IndexWriter m_index;
    RenameCoordinator m_coordinator;
};
