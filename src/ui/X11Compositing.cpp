// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/X11Compositing.h"

#include <QGuiApplication>
#include <QString>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

bool compositingManagerRuns()
{
    auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return false;
    // The screen Qt connected to: DISPLAY's number after the dot.
    const QString display = qEnvironmentVariable("DISPLAY");
    const int dot = display.lastIndexOf(u'.');
    const int screen = dot > display.lastIndexOf(u':') ? display.mid(dot + 1).toInt() : 0;
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(screen);
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, uint16_t(name.size()), name.constData()), nullptr),
        &std::free);
    if (!atom)
        return false;
    const std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> owner(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom), nullptr),
        &std::free);
    return owner && owner->owner != XCB_NONE;
}
