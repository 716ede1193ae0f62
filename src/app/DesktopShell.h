#pragma once

#include "app/DesktopInterface.h"

#include <QObject>

#include <memory>

class AppController;
class AppcastUpdateDriver;
class LaunchAtLogin;
class MenuBarController;
class ModelAvailabilityMonitor;
class RenameNotificationController;
class SettingsWindow;
class SoftwareUpdateController;
class Workspace;

// Everything Quillo shows on a desktop, wired to the application controller: the tray item, the
// rename panel, the update controller and, on first use, the settings window. Main thread.
class DesktopShell final : public QObject, public DesktopInterface
{
    Q_OBJECT

public:
    // `startedAtLogin`: the session started Quillo, so no window opens by itself.
    DesktopShell(AppController &controller, Workspace &workspace, bool startedAtLogin,
                 QObject *parent = nullptr);
    ~DesktopShell() override;

    void renamed(const RenameRecord &record) override;
    void renameWasUndone(const QUuid &id, const QString &restoredPath) override;
    void stateChanged() override;
    void started(bool isFirstLaunch) override;
    // Opens the settings window, creating it the first time, and brings it to the front.
    void showSettings() override;

private:
    void connectMenuBar();
    void watchTrayHost();

    AppController &m_controller;
    bool m_startedAtLogin;
    AppcastUpdateDriver *m_updateDriver = nullptr; // owned by m_updates
    std::unique_ptr<SoftwareUpdateController> m_updates;
    std::unique_ptr<MenuBarController> m_menuBar;
    std::unique_ptr<RenameNotificationController> m_renameNotification;
    std::unique_ptr<ModelAvailabilityMonitor> m_modelAvailability;
    std::unique_ptr<LaunchAtLogin> m_launchAtLogin;
    std::unique_ptr<SettingsWindow> m_settingsWindow;
};
