// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "renaming/RenameRecord.h"
#include "ui/TrayState.h"

#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>

#include <functional>
#include <memory>

class QMenu;
class RenameHistoryStore;
class SettingsStore;

// Quillo's tray item: its icon follows the state, and its menu, rebuilt every time it opens,
// shows the watched folder, the recent renames and every command. The menu the host shows holds
// each recent rename as a submenu; a left click, where the host reports one, opens Quillo's own
// popup of the same menu with a rich row per rename instead. It only reads state; what the user
// picks leaves as a signal. Main thread.
class TrayController final : public QObject
{
    Q_OBJECT

public:
    struct Sources
    {
        std::function<bool()> isProcessing;
        std::function<bool()> canCheckForUpdates;
        std::function<QDateTime()> now;
    };

    TrayController(const SettingsStore &settings, const RenameHistoryStore &history, Sources sources,
                   QObject *parent = nullptr);
    ~TrayController() override;

    // Recomputes the icon and tooltip; call when the activity or the watched folder changed.
    void refreshIcon();
    // Shows the check mark for two seconds (restarted by each call).
    void flashRenamed();

    TrayState::Icon currentIcon() const;
    QSystemTrayIcon &trayIcon() { return m_tray; }
    // The menus as they stand; each is rebuilt before it is shown.
    QMenu *menu() const { return m_menu.get(); }
    QMenu *popup() const { return m_popup.get(); }
    void rebuildMenu();
    void rebuildPopup();

signals:
    // Once the menu has gone.
    void commandRequested(const TrayState::CommandRequest &request);

private:
    TrayState::Inputs inputs() const;
    void fill(QMenu &menu, const QList<TrayState::Entry> &entries, bool richRows);
    void addRow(QMenu &menu, const TrayState::Entry &entry);
    void run(const TrayState::Entry &entry);

    const SettingsStore &m_settings;
    const RenameHistoryStore &m_history;
    Sources m_sources;
    RenamedFlash m_flash;
    QTimer m_flashEnd;
    std::unique_ptr<QMenu> m_menu;
    std::unique_ptr<QMenu> m_popup;
    QSystemTrayIcon m_tray;
};
