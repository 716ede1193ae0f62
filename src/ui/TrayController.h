// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "renaming/RenameRecord.h"
#include "ui/TrayState.h"

#include <QHash>
#include <QImage>
#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>

#include <functional>
#include <memory>

class PreviewWindow;
class QKeyEvent;
class RecentRenameRow;
class QLineEdit;
class QMenu;
class QWidgetAction;
class RenameHistoryStore;
class SearchIndexReader;
class SettingsStore;

// Quillo's tray item: its icon follows the state, and its menu, rebuilt every time it opens,
// shows the watched folder, the recent renames and every command. The menu the host shows holds
// each recent rename as a submenu; a left click, where the host reports one, opens Quillo's own
// popup of the same menu with a rich row per rename instead, and, while the search index is kept, a
// search field at its top. It only reads state; what the user picks leaves as a signal. Main thread.
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
    // Where the popup's search field looks words up; without one it has no field. Outlives this.
    void setSearchIndex(SearchIndexReader *reader);

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

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TrayState::Inputs inputs() const;
    void fill(QMenu &menu, const QList<TrayState::Entry> &entries, bool richRows);
    void addRow(QMenu &menu, const TrayState::Entry &entry);
    void run(const TrayState::Entry &entry);
    void createSearchField();
    void searchEdited(const QString &text);
    void searchIfDue();
    bool searchFieldKeyPressed(const QKeyEvent &event);
    void drawThumbnail(RecentRenameRow *row, const QString &filePath);
    void preview(const QString &filePath);

    const SettingsStore &m_settings;
    const RenameHistoryStore &m_history;
    Sources m_sources;
    RenamedFlash m_flash;
    QTimer m_flashEnd;
    std::unique_ptr<QMenu> m_menu;
    std::unique_ptr<QMenu> m_popup;
    QSystemTrayIcon m_tray;
    SearchIndexReader *m_reader = nullptr;
    TraySearch m_search;
    QTimer m_searchTimer;
    QWidgetAction *m_searchAction = nullptr; // owned by the popup
    QLineEdit *m_searchField = nullptr;
    QWidgetAction *m_firstRow = nullptr; // the popup's first row, where Down leaves the field for
    QHash<QString, QImage> m_thumbnails;
    std::unique_ptr<PreviewWindow> m_preview;
};
