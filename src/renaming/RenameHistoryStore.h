#pragma once

#include "renaming/RenameRecord.h"

#include <QObject>

class PreferencesStore;

// The ten most recent renames, newest first, written through to the preferences store on every
// change. Lives on the main thread.
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

    void add(const RenameRecord &record);
    // Nothing happens (no save, no signal) when no record has that id.
    void update(const RenameRecord &record);
    void remove(const QUuid &id);

signals:
    // After every save.
    void changed();

private:
    void save();
    bool keepOriginalAside();

    PreferencesStore &m_preferences;
    QList<RenameRecord> m_records;
    QByteArray m_unreadableOriginal; // not null while it could not be kept aside yet
};
