// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QEvent;

// Ctrl+Q quits and Ctrl+, opens the settings wherever a Quillo window has the keyboard: the
// settings window, the panel while a name is edited, the preview, a dialog. The tray menu shows
// both, so they must work everywhere. Watches the application's key presses; main thread.
class AppShortcuts final : public QObject
{
    Q_OBJECT

public:
    explicit AppShortcuts(QObject *parent = nullptr);
    ~AppShortcuts() override;

signals:
    void quitRequested();
    void settingsRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
