#include "app/DesktopShell.h"

#include "app/AppController.h"
#include "app/AppLog.h"
#include "renaming/RenameHistoryStore.h"
#include "settings/BookmarkStore.h"
#include "settings/SettingsStore.h"
#include "ui/AppcastUpdateDriver.h"
#include "ui/MenuBarController.h"
#include "ui/ModelAvailabilityMonitor.h"
#include "ui/RenameNotificationController.h"
#include "ui/RenameNotificationPanel.h"
#include "ui/SettingsWindow.h"
#include "ui/SoftwareUpdateController.h"
#include "ui/XdgAutostart.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QScreen>
#include <QSystemTrayIcon>

#include <algorithm>

DesktopShell::DesktopShell(AppController &controller, Workspace &workspace, bool startedAtLogin,
                           QObject *parent)
    : QObject(parent)
    , m_controller(controller)
    , m_startedAtLogin(startedAtLogin)
{
    auto driver = AppcastUpdateDriver::fromBuildConfiguration(controller.preferences(), workspace);
    m_updateDriver = driver.get();
    m_updates = std::make_unique<SoftwareUpdateController>(std::move(driver));
    if (m_updateDriver) {
        m_updateDriver->start();
        connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
            m_updateDriver->installPendingUpdate();
        });
    }

    m_menuBar = std::make_unique<MenuBarController>(
        controller.settings(), controller.history(),
        MenuBarController::Sources{[&controller] {
                                       return controller.coordinator().activeCount() > 0;
                                   },
                                   [this] {
                                       return m_updates->canCheckForUpdates();
                                   },
                                   &QDateTime::currentDateTimeUtc});
    connectMenuBar();
    watchTrayHost();

    m_renameNotification =
        std::make_unique<RenameNotificationController>(RenameNotificationController::Services{
            controller.coordinator(), controller.history(), controller.settings(), &controller.bookmarks(),
            workspace,
            [](RenameNotificationController &panelController) {
                return std::make_unique<RenameNotificationPanel>(panelController);
            },
            &std::chrono::steady_clock::now});
}

void DesktopShell::connectMenuBar()
{
    AppController &controller = m_controller;
    MenuBarController *menuBar = m_menuBar.get();
    connect(menuBar, &MenuBarController::togglePauseRequested, this, [&controller] {
        controller.settings().setPaused(!controller.settings().isPaused());
    });
    connect(menuBar, &MenuBarController::undoLastRequested, this, [&controller] {
        if (!controller.history().records().isEmpty())
            controller.undo(controller.history().records().first());
    });
    connect(menuBar, &MenuBarController::undoRequested, &controller, &AppController::undo);
    connect(menuBar, &MenuBarController::revealRequested, &controller, &AppController::reveal);
    connect(menuBar, &MenuBarController::openWatchedFolderRequested, &controller,
            &AppController::openWatchedFolder);
    connect(menuBar, &MenuBarController::grantFolderAccessRequested, &controller,
            &AppController::requestFolderAccess);
    connect(menuBar, &MenuBarController::settingsRequested, this, &DesktopShell::showSettings);
    connect(menuBar, &MenuBarController::checkForUpdatesRequested, m_updates.get(),
            &SoftwareUpdateController::checkForUpdates);
    connect(menuBar, &MenuBarController::quitRequested, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

// A panel restarting or an extension turned off or on: the item comes and goes with the host, and
// the renaming carries on regardless. Qt registers the item again with a host that returns.
void DesktopShell::watchTrayHost()
{
    auto *host = new QDBusServiceWatcher(
        QStringLiteral("org.kde.StatusNotifierWatcher"), QDBusConnection::sessionBus(),
        QDBusServiceWatcher::WatchForRegistration | QDBusServiceWatcher::WatchForUnregistration, this);
    connect(host, &QDBusServiceWatcher::serviceRegistered, this, [] {
        qCInfo(lcApp) << "A tray host appeared; the tray item is shown there";
    });
    connect(host, &QDBusServiceWatcher::serviceUnregistered, this, [] {
        qCInfo(lcApp) << "The tray host went away; Quillo keeps renaming, and starting it again opens "
                         "the settings window";
    });
}

void DesktopShell::renamed(const RenameRecord &record)
{
    m_menuBar->flashRenamed();
    m_renameNotification->show(record);
}

void DesktopShell::renameWasUndone(const QUuid &id, const QString &restoredPath)
{
    m_renameNotification->renameWasUndone(id, restoredPath);
}

void DesktopShell::stateChanged()
{
    m_menuBar->refreshIcon();
}

void DesktopShell::started(bool isFirstLaunch)
{
    m_menuBar->refreshIcon();
    // Without a tray the settings window is the only way in, so a start from the launcher opens it.
    const bool hasTray = QSystemTrayIcon::isSystemTrayAvailable();
    if (hasTray)
        qCInfo(lcApp) << "Shown in the tray";
    else if (m_startedAtLogin)
        qCInfo(lcApp) << "No tray host: Quillo runs without an icon until it is started again";
    else
        qCInfo(lcApp) << "No tray host: the settings window opens at every start";
    if (isFirstLaunch || (!hasTray && !m_startedAtLogin))
        showSettings();
}

DesktopShell::~DesktopShell() = default;

void DesktopShell::showSettings()
{
    if (!m_settingsWindow) {
        m_modelAvailability = std::make_unique<ModelAvailabilityMonitor>(
            m_controller.settings(), ModelAvailabilityMonitor::localServerProbe());
        m_launchAtLogin = std::make_unique<XdgAutostart>(XdgAutostart::forThisProgram());
        m_settingsWindow = std::make_unique<SettingsWindow>(
            SettingsWindowServices{m_controller.settings(), *m_modelAvailability, *m_launchAtLogin,
                                   *m_updates, m_controller.bookmarks().isSandboxed()});
        m_settingsWindow->setWindowTitle(QStringLiteral("Quillo Settings"));
        connect(m_settingsWindow.get(), &SettingsWindow::chooseFolderRequested, &m_controller,
                &AppController::chooseCustomFolder);
        connect(m_settingsWindow.get(), &SettingsWindow::grantFolderAccessRequested, &m_controller,
                &AppController::requestFolderAccess);
        connect(m_settingsWindow.get(), &SettingsWindow::openWatchedFolderRequested, &m_controller,
                &AppController::openWatchedFolder);
        m_settingsWindow->adjustSize();
        if (const QScreen *screen = QGuiApplication::primaryScreen()) {
            const QRect available = screen->availableGeometry();
            QRect frame = m_settingsWindow->frameGeometry();
            frame.moveCenter(available.center());
            // A window taller than the screen keeps its title bar reachable.
            frame.moveTop(std::max(frame.top(), available.top()));
            m_settingsWindow->move(frame.topLeft());
        }
    }
    m_settingsWindow->show();
    m_settingsWindow->raise();
    m_settingsWindow->activateWindow();
}
