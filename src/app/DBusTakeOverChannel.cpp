// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DBusTakeOverChannel.h"

#include "app/AppLog.h"
#include "core/QuilloBus.h"
#include "core/TextScanning.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFile>

namespace {

const QString takeOverPath = QuilloBus::path + QStringLiteral("/TakeOver");
const QString takeOverInterface = QuilloBus::interface + QStringLiteral(".TakeOver");
constexpr int answerTimeoutMs = 5000;

// The executable a process runs; an upgrade that replaced the file marks it " (deleted)".
QString executableOf(const QString &pid)
{
    QString path = QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid));
    path.remove(QStringLiteral(" (deleted)"));
    return path;
}

// An AppImage runs from a new mount each time, so its path differs between copies; its bytes do not.
bool runsSameProgram(const QString &pid)
{
    const QString theirs = executableOf(pid);
    if (!theirs.isEmpty() && theirs == executableOf(QStringLiteral("self")))
        return true;
    QFile their(QStringLiteral("/proc/%1/exe").arg(pid));
    QFile own(QStringLiteral("/proc/self/exe"));
    if (!their.open(QIODevice::ReadOnly) || !own.open(QIODevice::ReadOnly) || their.size() != own.size())
        return false;
    constexpr qint64 chunk = 1 << 20;
    while (!own.atEnd()) {
        if (own.read(chunk) != their.read(chunk))
            return false;
    }
    return own.error() == QFileDevice::NoError && their.error() == QFileDevice::NoError;
}

} // namespace

bool DBusTakeOverChannel::announce()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qCInfo(lcApp) << "No session bus: other running copies are not asked to quit";
        return true;
    }
    if (!bus.registerObject(takeOverPath, this, QDBusConnection::ExportScriptableSlots))
        qCWarning(lcApp) << "Could not listen for a newer copy on the session bus";
    if (!bus.interface()->isServiceRegistered(QuilloBus::service).value())
        return true;
    const QDBusMessage call =
        QDBusMessage::createMethodCall(QuilloBus::service, takeOverPath, takeOverInterface,
                                       QStringLiteral("TakeOver")); // not for people: a method
    const QDBusMessage answer = bus.call(call, QDBus::Block, answerTimeoutMs);
    if (answer.type() != QDBusMessage::ErrorMessage)
        return true;
    // A copy too old to know the call quits on the signal it listened for.
    if (answer.errorName() == QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod") ||
        answer.errorName() == QStringLiteral("org.freedesktop.DBus.Error.UnknownObject")) {
        QDBusMessage signal =
            QDBusMessage::createSignal(QuilloBus::path, QuilloBus::interface, QStringLiteral("takeOver"));
        signal << QString::number(QCoreApplication::applicationPid());
        bus.send(signal);
        return true;
    }
    qCWarning(lcApp).noquote() << QStringLiteral("Another Quillo runs and stays (%1); quit it first")
                                      .arg(TextScanning::withoutControls(answer.errorMessage()));
    return false;
}

void DBusTakeOverChannel::TakeOver()
{
    const QString caller = message().service();
    const auto pid = connection().interface()->servicePid(caller);
    if (!pid.isValid() || !runsSameProgram(QString::number(pid.value()))) {
        const QString theirs = pid.isValid() ? executableOf(QString::number(pid.value())) : QString();
        const QString ours = executableOf(QStringLiteral("self"));
        qCInfo(lcApp).noquote() << QStringLiteral("Asked to quit by %1, which is not this Quillo; staying")
                                       .arg(TextScanning::escapedPath(theirs.isEmpty() ? caller : theirs));
        sendErrorReply(QDBusError::AccessDenied,
                       tr("only %1 itself may take over").arg(TextScanning::escapedPath(ours)));
        return;
    }
    qCInfo(lcApp) << "Another copy of Quillo started; quitting";
    emit takeOverRequested();
}
