#include "renaming/RenameHistoryStore.h"

#include "renaming/RenameLog.h"
#include "settings/PreferencesStore.h"

namespace {

const QString historyKey = QStringLiteral("renameHistory");

} // namespace

RenameHistoryStore::RenameHistoryStore(PreferencesStore &preferences, QObject *parent)
    : QObject(parent)
    , m_preferences(preferences)
{
    const auto stored = m_preferences.dataValue(historyKey);
    if (!stored || stored->isEmpty())
        return;
    const RenameRecordJson::Decoded decoded = RenameRecordJson::decode(*stored);
    m_records = decoded.records.mid(0, maximumCount);
    if (decoded.unreadableCount > 0) {
        qCWarning(lcRename).noquote()
            << QStringLiteral("Skipped unreadable entries of the stored rename history: %1")
                   .arg(decoded.unreadableCount);
        // The readable part is written back only once the stored value is safely aside.
        m_unreadableOriginal = *stored;
        if (keepOriginalAside())
            save();
    }
}

bool RenameHistoryStore::keepOriginalAside()
{
    const auto aside = m_preferences.keepAside(historyKey, m_unreadableOriginal);
    if (!aside)
        return false;
    qCInfo(lcRename).noquote()
        << QStringLiteral("Kept the stored rename history as it was in %1").arg(*aside);
    m_unreadableOriginal.clear();
    return true;
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
    if (!m_unreadableOriginal.isNull() && !keepOriginalAside()) {
        qCWarning(lcRename) << "Overwriting the stored rename history that could not be kept aside";
        m_unreadableOriginal.clear();
    }
    m_preferences.setData(historyKey, RenameRecordJson::encode(m_records));
    emit changed();
}
