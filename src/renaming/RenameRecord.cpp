// SPDX-License-Identifier: GPL-3.0-or-later
#include "renaming/RenameRecord.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace {

// 2001-01-01T00:00:00Z in milliseconds since the Unix epoch.
constexpr qint64 referenceDateMs = 978307200000;

const QString idKey = QStringLiteral("id");
const QString originalFolderPathKey = QStringLiteral("originalFolderPath");
const QString originalFilenameKey = QStringLiteral("originalFilename");
const QString renamedPathKey = QStringLiteral("renamedPath");
const QString renamedAtKey = QStringLiteral("renamedAt");
const QString routedFolderNameKey = QStringLiteral("routedFolderName");
const QString namingSourceKey = QStringLiteral("namingSource");

double secondsSinceReferenceDate(const QDateTime &instant)
{
    return double(instant.toMSecsSinceEpoch() - referenceDateMs) / 1000.0;
}

QDateTime dateFromReferenceSeconds(double seconds)
{
    return QDateTime::fromMSecsSinceEpoch(std::llround(seconds * 1000.0) + referenceDateMs, Qt::UTC);
}

QJsonObject toJson(const RenameRecord &record)
{
    QJsonObject object{{idKey, record.id.toString(QUuid::WithoutBraces).toUpper()},
                       {originalFolderPathKey, record.originalFolderPath},
                       {originalFilenameKey, record.originalFilename},
                       {renamedPathKey, record.renamedPath},
                       {renamedAtKey, secondsSinceReferenceDate(record.renamedAt)},
                       {namingSourceKey, rawValue(record.namingSource)}};
    if (record.routedFolderName)
        object.insert(routedFolderNameKey, *record.routedFolderName);
    return object;
}

std::optional<RenameRecord> fromJson(const QJsonValue &value)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    for (const QString &key :
         {idKey, originalFolderPathKey, originalFilenameKey, renamedPathKey, namingSourceKey}) {
        if (!object.value(key).isString())
            return std::nullopt;
    }
    const QJsonValue renamedAt = object.value(renamedAtKey);
    const QJsonValue routed = object.value(routedFolderNameKey);
    if (!renamedAt.isDouble() || !std::isfinite(renamedAt.toDouble()) ||
        std::abs(renamedAt.toDouble()) > 1e12)
        return std::nullopt;
    if (!routed.isUndefined() && !routed.isNull() && !routed.isString())
        return std::nullopt;
    const QUuid id = QUuid::fromString(object.value(idKey).toString());
    const auto source = namingSourceFromRawValue(object.value(namingSourceKey).toString());
    if (id.isNull() || !source)
        return std::nullopt;

    RenameRecord record;
    record.id = id;
    record.originalFolderPath = object.value(originalFolderPathKey).toString();
    record.originalFilename = object.value(originalFilenameKey).toString();
    record.renamedPath = object.value(renamedPathKey).toString();
    record.renamedAt = dateFromReferenceSeconds(renamedAt.toDouble());
    if (routed.isString())
        record.routedFolderName = routed.toString();
    record.namingSource = *source;
    return record;
}

} // namespace

namespace RenameRecordJson {

QByteArray encode(const QList<RenameRecord> &records)
{
    QJsonArray array;
    for (const RenameRecord &record : records)
        array.append(toJson(record));
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

Decoded decode(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return {{}, 1};
    Decoded decoded;
    for (const QJsonValue &value : document.array()) {
        if (auto record = fromJson(value))
            decoded.records.append(*record);
        else
            ++decoded.unreadableCount;
    }
    return decoded;
}

} // namespace RenameRecordJson
