// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/DesktopInterface.h"
#include "ui/TrayState.h"

#include <QObject>

#include <memory>

class AppController;
class AppShortcuts;
class TrayController;
class ModelAvailabilityMonitor;
class RenamePanelController;
class SearchIndexReader;
class SettingsWindow;
class SoftwareUpdates;
class UpdateDialogs;
class XdgAutostart;
class FileManager;

// Everything Quillo shows on a desktop, wired to the application controller: the tray item, the
// rename panel, the update controller and, on first use, the settings window. Main thread.
class DesktopShell final : public QObject, public DesktopInterface
{
    Q_OBJECT

public:
    // `startedAtLogin`: the session started Quillo, so no window opens by itself.
    DesktopShell(AppController &controller, FileManager &fileManager, bool startedAtLogin,
                 QObject *parent = nullptr);
    ~DesktopShell() override;

    void renamed(const RenameRecord &record) override;
    void renameWasUndone(const QUuid &id, const QString &restoredPath) override;
    void stateChanged() override;
    void started(bool isFirstLaunch) override;
    // Opens the settings window, creating it the first time, and brings it to the front.
    void showSettings() override;
    std::optional<CaptureContext::Panel> shownPanel() override;

private:
    void runTrayCommand(const TrayState::CommandRequest &request);
    void watchTrayHost();

    AppController &m_controller;
    bool m_startedAtLogin;
    // Before the tray and the settings window, which ask it.
    std::unique_ptr<SearchIndexReader> m_searchIndex;
    std::unique_ptr<SoftwareUpdates> m_updates;
    std::unique_ptr<UpdateDialogs> m_updateDialogs;
    std::unique_ptr<TrayController> m_tray;
    std::unique_ptr<AppShortcuts> m_shortcuts;
    std::unique_ptr<RenamePanelController> m_renamePanel;
    std::unique_ptr<ModelAvailabilityMonitor> m_modelAvailability;
    std::unique_ptr<XdgAutostart> m_launchAtLogin;
    std::unique_ptr<SettingsWindow> m_settingsWindow;
};
