// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/AppShortcuts.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QWidget>

AppShortcuts::AppShortcuts(QObject *parent)
    : QObject(parent)
{
    qApp->installEventFilter(this);
}

AppShortcuts::~AppShortcuts()
{
    qApp->removeEventFilter(this);
}

bool AppShortcuts::eventFilter(QObject *watched, QEvent *event)
{
    // Once per press: the event filter also sees it on its way through the window.
    if (event->type() != QEvent::KeyPress)
        return false;
    QWidget *target =
        QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
    if (watched != target)
        return false;
    const QKeyCombination pressed = static_cast<QKeyEvent *>(event)->keyCombination();
    if (pressed == QKeyCombination(Qt::ControlModifier, Qt::Key_Q)) {
        emit quitRequested();
        return true;
    }
    if (pressed == QKeyCombination(Qt::ControlModifier, Qt::Key_Comma)) {
        emit settingsRequested();
        return true;
    }
    return false;
}
