// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/DBusHistoryWriter.h"

#include "core/QuilloBus.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace {

// Renaming one file is quick; a Quillo this slow to answer is stuck.
constexpr int callTimeoutMs = 20'000;

QDBusMessage call(const QString &method, const QVariantList &arguments)
{
    QDBusMessage message =
        QDBusMessage::createMethodCall(QuilloBus::service, QuilloBus::path, QuilloBus::interface, method);
    message.setArguments(arguments);
    return QDBusConnection::sessionBus().call(message, QDBus::Block, callTimeoutMs);
}

UndoError failure(const QDBusMessage &reply)
{
    if (reply.errorName() == QuilloBus::alreadyNamedError)
        return {UndoError::Kind::AlreadyNamed, reply.errorMessage()};
    if (reply.errorName() == QuilloBus::failedError)
        return UndoError::fileSystem(reply.errorMessage());
    return UndoError::fileSystem(
        QCoreApplication::translate("DBusHistoryWriter", "The running Quillo did not answer: %1")
            .arg(reply.errorMessage()));
}

} // namespace

std::unique_ptr<DBusHistoryWriter> DBusHistoryWriter::connectToRunningQuillo()
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(QuilloBus::service).value())
        return nullptr;
    return std::make_unique<DBusHistoryWriter>();
}

RenameOutcome<RenameRecord> DBusHistoryWriter::rename(const NamedFile &file)
{
    const QDBusMessage reply =
        call(QStringLiteral("Rename"), // not for people: a method
             {file.path, qulonglong(file.identity.device), qulonglong(file.identity.inode),
              qlonglong(file.identity.size), qlonglong(file.identity.modifiedNs), file.root,
              file.suggestion.slug, rawValue(file.suggestion.category), rawValue(file.suggestion.source)});
    if (reply.type() != QDBusMessage::ReplyMessage)
        return failure(reply);
    const auto records = RenameRecordJson::decode(reply.arguments().value(0).toString().toUtf8()).records;
    if (records.size() != 1)
        return UndoError::fileSystem(
            QCoreApplication::translate("DBusHistoryWriter", "The running Quillo answered with no record"));
    return records.first();
}

RenameOutcome<QString> DBusHistoryWriter::undo(const QUuid &id)
{
    const QDBusMessage reply =
        call(QStringLiteral("Undo"), {id.toString(QUuid::WithoutBraces)}); // not for people: a method
    if (reply.type() != QDBusMessage::ReplyMessage)
        return failure(reply);
    return reply.arguments().value(0).toString();
}
