#include "renaming/RenameHistoryStore.h"

#include "settings/PreferencesStore.h"

namespace {

const QString historyKey = QStringLiteral("renameHistory");

} // namespace

RenameHistoryStore::RenameHistoryStore(PreferencesStore &preferences, QObject *parent)
    : QObject(parent)
    , m_preferences(preferences)
{
    if (const auto stored = m_preferences.dataValue(historyKey)) {
        if (auto records = RenameRecordJson::decode(*stored))
            m_records = records->mid(0, maximumCount);
    }
}

std::optional<RenameRecord> RenameHistoryStore::record(const QUuid &id) const
{
    for (const RenameRecord &candidate : m_records) {
        if (candidate.id == id)
            return candidate;
    }
    return std::nullopt;
}

void RenameHistoryStore::add(const RenameRecord &record)
{
    m_records.prepend(record);
    if (m_records.size() > maximumCount)
        m_records.resize(maximumCount);
    save();
}

void RenameHistoryStore::update(const RenameRecord &record)
{
    for (RenameRecord &candidate : m_records) {
        if (candidate.id == record.id) {
            candidate = record;
            save();
            return;
        }
    }
}

void RenameHistoryStore::remove(const QUuid &id)
{
    m_records.removeIf([&](const RenameRecord &candidate) {
        return candidate.id == id;
    });
    save();
}

void RenameHistoryStore::save()
{
    m_preferences.setData(historyKey, RenameRecordJson::encode(m_records));
    emit changed();
}
