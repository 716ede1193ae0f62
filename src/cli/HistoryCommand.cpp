// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/HistoryCommand.h"

#include "cli/CommandLine.h"
#include "cli/DBusHistoryWriter.h"
#include "cli/LocalHistoryWriter.h"
#include "core/TextScanning.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace {

constexpr int shortIdLength = 8;

QString idText(const RenameRecord &record)
{
    return record.id.toString(QUuid::WithoutBraces).toUpper();
}

} // namespace

namespace HistoryCommand {

QByteArray line(const RenameRecord &record, bool json)
{
    const QFileInfo renamed(record.renamedPath);
    if (json) {
        const QJsonObject object{
            {QStringLiteral("id"), idText(record)},
            {QStringLiteral("newName"), renamed.fileName()},
            {QStringLiteral("oldName"), record.originalFilename},
            {QStringLiteral("folder"), renamed.absolutePath()},
            {QStringLiteral("renamedPath"), record.renamedPath},
            {QStringLiteral("originalFolder"), record.originalFolderPath},
            {QStringLiteral("renamedAt"), record.renamedAt.toUTC().toString(Qt::ISODateWithMs)},
            {QStringLiteral("source"), rawValue(record.namingSource)}};
        return QJsonDocument(object).toJson(QJsonDocument::Compact);
    }
    const QStringList fields{
        idText(record).left(shortIdLength),
        TextScanning::escapedPath(renamed.fileName()),
        TextScanning::escapedPath(record.originalFilename),
        TextScanning::escapedPath(renamed.absolutePath()),
        record.renamedAt.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")), // not for people: format
        rawValue(record.namingSource)};
    return fields.join(u'\t').toUtf8();
}

Found find(const QList<RenameRecord> &records, const QString &id)
{
    if (records.isEmpty())
        return {std::nullopt, QCoreApplication::translate("HistoryCommand", "No screenshots renamed yet")};
    if (id.isEmpty())
        return {records.first(), {}};
    QList<RenameRecord> matches;
    for (const RenameRecord &record : records) {
        if (idText(record).startsWith(id.trimmed(), Qt::CaseInsensitive))
            matches.append(record);
    }
    if (matches.size() == 1)
        return {matches.first(), {}};
    if (matches.size() > 1)
        return {std::nullopt,
                QCoreApplication::translate("HistoryCommand", "%1 starts more than one id; give more of it")
                    .arg(id)};
    return {std::nullopt, QCoreApplication::translate(
                              "HistoryCommand", "No rename %1 in the history, which keeps the %n newest",
                              nullptr, RenameHistoryStore::maximumCount)
                              .arg(id)};
}

int list(bool json)
{
    LocalHistoryWriter local;
    const QList<RenameRecord> &records = local.history().records();
    if (records.isEmpty() && !json)
        std::puts(qPrintable(QCoreApplication::translate("HistoryCommand", "No screenshots renamed yet")));
    for (const RenameRecord &record : records)
        std::printf("%s\n", line(record, json).constData());
    return 0;
}

int undo(const CommandRequest &request)
{
    LocalHistoryWriter local;
    const Found found = find(local.history().records(), request.undoId);
    if (!found.record) {
        std::fprintf(
            stderr, "%s\n",
            qPrintable(QCoreApplication::translate("HistoryCommand", "quillo: %1").arg(found.error)));
        return 1;
    }
    std::unique_ptr<DBusHistoryWriter> running = DBusHistoryWriter::connectToRunningQuillo();
    HistoryWriter &writer = running ? static_cast<HistoryWriter &>(*running) : local;
    const auto restored = writer.undo(found.record->id);
    if (!restored) {
        std::fprintf(
            stderr, "%s\n",
            qPrintable(QCoreApplication::translate("HistoryCommand", "quillo: Could not undo the rename: %1")
                           .arg(restored.error.description)));
        return 1;
    }
    std::printf("%s\n", qPrintable(QCoreApplication::translate("HistoryCommand", "Restored %1")
                                       .arg(TextScanning::escapedPath(*restored.value))));
    return 0;
}

} // namespace HistoryCommand
