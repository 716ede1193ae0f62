// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DBusTakeOverChannel.h"

#include "app/AppLog.h"
#include "core/QuilloBus.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>

namespace {

using QuilloBus::interface;
using QuilloBus::path;
const QString signalName = QStringLiteral("takeOver");

} // namespace

DBusTakeOverChannel::DBusTakeOverChannel(QObject *parent)
    : TakeOverChannel(parent)
    , m_token(QString::number(QCoreApplication::applicationPid()))
{}

void DBusTakeOverChannel::announce()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qCInfo(lcApp) << "No session bus: other running copies are not asked to quit";
        return;
    }
    // Listen first, so a copy started at the same moment is heard too.
    bus.connect(QString(), path, interface, signalName, this, SLOT(receive(QString)));
    QDBusMessage message = QDBusMessage::createSignal(path, interface, signalName);
    message << m_token;
    bus.send(message);
}

void DBusTakeOverChannel::receive(const QString &token)
{
    if (token != m_token)
        emit takeOverRequested();
}
