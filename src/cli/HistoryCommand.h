// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "renaming/RenameRecord.h"

#include <optional>

struct CommandRequest;

// `quillo history [--json]` and `quillo undo [ID|--last]`.
namespace HistoryCommand {

// Both return the exit status.
int list(bool json);
int undo(const CommandRequest &request);

// One record as `quillo history` prints it: "ID new old folder when source", tab-separated,
// the ID being the first eight characters of the record's id; or a JSON object.
QByteArray line(const RenameRecord &record, bool json);

struct Found
{
    std::optional<RenameRecord> record;
    QString error; // when nothing was found
};

// The record a user means by `id` (any case, its first characters are enough as long as only one
// record starts with them), or the newest when `id` is empty.
Found find(const QList<RenameRecord> &records, const QString &id);

} // namespace HistoryCommand
