// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "naming/NamingSuggestion.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QUuid>

#include <optional>

// One performed rename, enough to undo it or change it later.
struct RenameRecord
{
    QUuid id;
    QString originalFolderPath;
    QString originalFilename; // with extension
    QString renamedPath;      // where the file is now, after any later change
    QDateTime renamedAt;
    std::optional<QString> routedFolderName; // the category folder, absent when it stayed in the root
    NamingSource namingSource = NamingSource::Heuristics;

    friend bool operator==(const RenameRecord &, const RenameRecord &) = default;
};

// The stored form: a JSON array of records, dates as seconds since 1 January 2001 UTC.
namespace RenameRecordJson {

struct Decoded
{
    QList<RenameRecord> records; // the readable ones, in stored order
    // Entries with malformed JSON, a missing key, a wrong type or an unknown naming source; a value
    // that is not a JSON array at all counts as one.
    qsizetype unreadableCount = 0;
};

QByteArray encode(const QList<RenameRecord> &records);
Decoded decode(const QByteArray &json);

} // namespace RenameRecordJson
