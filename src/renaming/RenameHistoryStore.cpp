// SPDX-License-Identifier: GPL-3.0-or-later
#include "renaming/RenameHistoryStore.h"

#include "core/CanonicalPath.h"
#include "renaming/RenameLog.h"
#include "settings/PreferencesStore.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

#include <algorithm>

namespace {

const QString historyKey = QStringLiteral("renameHistory");
// Another writer holds the lock only while it reads and writes one small value.
constexpr int lockWaitMs = 5'000;

} // namespace

RenameHistoryStore::RenameHistoryStore(PreferencesStore &preferences, QObject *parent)
    : QObject(parent)
    , m_preferences(preferences)
{
    // The readable part is written back only once the stored value is safely aside.
    if (load() && keepOriginalAside())
        save();
}

bool RenameHistoryStore::load()
{
    const auto stored = m_preferences.dataValue(historyKey);
    if (!stored || stored->isEmpty()) {
        m_records.clear();
        return false;
    }
    const RenameRecordJson::Decoded decoded = RenameRecordJson::decode(*stored);
    m_records = decoded.records.mid(0, maximumCount);
    if (decoded.unreadableCount == 0)
        return false;
    qCWarning(lcRename).noquote() << QStringLiteral(
                                         "Skipped unreadable entries of the stored rename history: %1")
                                         .arg(decoded.unreadableCount);
    m_unreadableOriginal = *stored;
    return true;
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
    change([&] {
        m_records.prepend(record);
        if (m_records.size() > maximumCount)
            m_records.resize(maximumCount);
        return true;
    });
}

void RenameHistoryStore::update(const RenameRecord &record)
{
    change([&] {
        for (RenameRecord &candidate : m_records) {
            if (candidate.id == record.id) {
                candidate = record;
                return true;
            }
        }
        return false;
    });
}

void RenameHistoryStore::remove(const QUuid &id)
{
    change([&] {
        m_records.removeIf([&](const RenameRecord &candidate) {
            return candidate.id == id;
        });
        return true;
    });
}

std::optional<QString> RenameHistoryStore::recordingProblem() const
{
    return m_preferences.writeProblem();
}

bool RenameHistoryStore::holdsRenameOf(const QString &originalPath)
{
    load();
    const QString wanted = canonicalPath(originalPath);
    return std::any_of(m_records.begin(), m_records.end(), [&](const RenameRecord &record) {
        return canonicalPath(joinedPath(record.originalFolderPath, record.originalFilename)) == wanted;
    });
}

void RenameHistoryStore::change(const std::function<bool()> &edit)
{
    // Another process (the command line, a second copy) may have saved since: its records are read
    // first, under a lock, so neither writer loses the other's.
    const QString lockPath = m_preferences.filePath() + QStringLiteral(".history-lock");
    QDir().mkpath(QFileInfo(lockPath).absolutePath());
    QLockFile lock(lockPath);
    if (!lock.tryLock(lockWaitMs))
        qCWarning(lcRename) << "Could not lock the rename history; saving without the lock";
    load();
    if (edit())
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
