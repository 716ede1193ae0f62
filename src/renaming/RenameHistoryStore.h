// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "renaming/RenameRecord.h"

#include <QObject>

#include <functional>

class PreferencesStore;

// The ten most recent renames, newest first, written through to the preferences store on every
// change. Every change starts from the stored history, so writers in other processes lose nothing.
// Lives on the main thread.
class RenameHistoryStore final : public QObject
{
    Q_OBJECT

public:
    static constexpr qsizetype maximumCount = 10;

    // Unreadable stored records are skipped (logged); the stored value is then first kept aside
    // beside the preferences file, and then replaced by the readable records.
    explicit RenameHistoryStore(PreferencesStore &preferences, QObject *parent = nullptr);

    const QList<RenameRecord> &records() const { return m_records; }
    std::optional<RenameRecord> record(const QUuid &id) const;

    // Nothing when a rename can be recorded now; else why not. A rename that cannot be recorded
    // could never be undone, so it is not made.
    std::optional<QString> recordingProblem() const;
    // Whether the stored history, as saved now by any process, holds a rename of this file.
    bool holdsRenameOf(const QString &originalPath);

    void add(const RenameRecord &record);
    // Nothing happens (no save, no signal) when no record has that id.
    void update(const RenameRecord &record);
    void remove(const QUuid &id);

signals:
    // After every save.
    void changed();

private:
    // Reads the stored history; true when some of it could not be read (kept for keepOriginalAside).
    bool load();
    // Re-reads the stored history, applies `edit` and saves when it says something changed.
    void change(const std::function<bool()> &edit);
    void save();
    bool keepOriginalAside();

    PreferencesStore &m_preferences;
    QList<RenameRecord> m_records;
    QByteArray m_unreadableOriginal; // not null while it could not be kept aside yet
};
