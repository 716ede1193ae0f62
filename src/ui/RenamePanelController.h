// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "renaming/UndoError.h"
#include "ui/PanelWindow.h"
#include "ui/RenamePanelModel.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>
#include <set>

class FolderAccess;
class RenameCoordinator;
class RenameHistoryStore;
class SettingsStore;
class FileManager;

// Runs the floating rename panel: queues the renames it shows, counts down while nothing holds
// the countdown, says when the window comes and goes, and carries out what the user asks for
// through the rename coordinator. The window places, fades, draws and reports. Main thread.
class RenamePanelController final : public QObject
{
    Q_OBJECT

public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    // Called once, when the panel is first needed.
    using WindowFactory = std::function<std::unique_ptr<PanelWindow>(RenamePanelController &)>;

    // Why the countdown is held.
    enum class PauseReason
    {
        Hover,
        Editing,
        Menu, // any of Quillo's menus
        Modal,
        Preview,
        Dragging
    };

    struct Services
    {
        RenameCoordinator &coordinator;
        RenameHistoryStore &history;
        SettingsStore &settings;
        FolderAccess *folderAccess; // remembers folders picked as destinations; may be absent
        FileManager &fileManager;
        WindowFactory makeWindow;
        Clock now;
    };

    static constexpr qsizetype maximumItems = 10;

    explicit RenamePanelController(Services services, QObject *parent = nullptr);
    ~RenamePanelController() override;

    RenamePanelModel &model() { return m_model; }
    bool isShowing() const { return m_isShowing; }
    // Where the panel is on screen; nothing while it is away.
    std::optional<CaptureContext::Panel> onScreen();

    void show(const RenameRecord &record);
    void renameWasUndone(const QUuid &id, const QString &restoredPath);
    void dismiss();
    // Advances the countdown by the time since the last tick; the timer calls it 30 times a second.
    void tick();

    // What the user asks for in the panel.
    void beginEditing();
    void setDraft(const QString &draft);
    void commitName();
    void endEditing();
    void move(const QString &folder);
    void newFolder();    // asks for a name on a later turn, then moves the file there
    void chooseFolder(); // asks for a folder on a later turn, then moves the file there
    void reveal();
    void undo();
    void preview();
    void beginDragging();
    void endDragging();
    void showPrevious();
    void showNext();

    // What the window reports.
    void setHovered(bool hovered);
    void setMenuOpen(bool open);
    void setPreviewOpen(bool open);

private:
    PanelWindow &window();
    void present();
    void pause(PauseReason reason);
    void resume(PauseReason reason);
    void updateHover();
    void page(int step);
    std::optional<RenameRecord> currentRecord() const;
    std::optional<QString> currentRoot() const;
    bool select(const QUuid &id);
    // Renames or moves the file in view; without a folder it stays in its own.
    void relocate(const std::optional<QString> &folder, const std::optional<QString> &baseName);
    void applyOutcome(const RenameOutcome<RenameRecord> &outcome);
    // Holds the countdown while `ask` shows a modal dialog about the file in view. The answer comes
    // back only if that file is still in the panel, and it is in view again.
    std::optional<QString>
    askAboutCurrent(const std::function<std::optional<QString>(const RenameRecord &)> &ask);
    void createFolderAndMove();
    void chooseFolderAndMove();
    void refreshFolderChoices();
    void makeThumbnail(const RenamePanelItem &item);

    Services m_services;
    RenamePanelModel m_model;
    std::unique_ptr<PanelWindow> m_window;
    std::set<PauseReason> m_pauseReasons;
    QTimer m_timer;
    std::chrono::steady_clock::time_point m_lastTick;
    bool m_isShowing = false;
    // Raised by every presentation and dismissal; a fade-out only finishes if none came after it.
    int m_generation = 0;
};
