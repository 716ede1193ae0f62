// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DBusCommandService.h"

#include "app/AppController.h"
#include "app/AppLog.h"
#include "core/QuilloBus.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

namespace {

QString errorName(const UndoError &error)
{
    return error.kind == UndoError::Kind::AlreadyNamed ? QuilloBus::alreadyNamedError
                                                       : QuilloBus::failedError;
}

} // namespace

DBusCommandService::DBusCommandService(AppController &controller, QObject *parent)
    : QObject(parent)
    , m_controller(controller)
{}

void DBusCommandService::publish()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return; // the take-over channel has said so already
    // A newer copy takes the name over once this one has agreed to leave.
    const auto registered =
        bus.interface()->registerService(QuilloBus::service, QDBusConnectionInterface::ReplaceExistingService,
                                         QDBusConnectionInterface::AllowReplacement);
    if (!registered.isValid() || registered.value() != QDBusConnectionInterface::ServiceRegistered)
        qCWarning(lcApp) << "Could not take the bus name; quillo rename and undo work on their own";
    if (!bus.registerObject(QuilloBus::path, this, QDBusConnection::ExportScriptableSlots))
        qCWarning(lcApp) << "Could not offer the command-line hand-off on the session bus";
}

QString DBusCommandService::Rename(const QString &path, qulonglong device, qulonglong inode, qlonglong size,
                                   qlonglong modifiedNs, const QString &root, const QString &slug,
                                   const QString &category, const QString &source)
{
    const auto parsedCategory = categoryFromRawValue(category);
    const auto parsedSource = namingSourceFromRawValue(source);
    if (!parsedCategory || !parsedSource || slug.isEmpty() || root.isEmpty()) {
        sendErrorReply(QDBusError::InvalidArgs, tr("Unknown category or naming source"));
        return {};
    }
    const NamedFile file{
        path, {device, inode, size, modifiedNs}, root, {slug, *parsedCategory, *parsedSource}};
    const auto renamed = m_controller.coordinator().renameNamed(file);
    if (!renamed) {
        sendErrorReply(errorName(renamed.error), renamed.error.description);
        return {};
    }
    return QString::fromUtf8(RenameRecordJson::encode({*renamed.value}));
}

QString DBusCommandService::Undo(const QString &id)
{
    const auto restored = m_controller.undoById(QUuid::fromString(id));
    if (!restored) {
        sendErrorReply(errorName(restored.error), restored.error.description);
        return {};
    }
    return *restored.value;
}
