// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DesktopShell.h"

#include "app/AppController.h"
#include "app/AppLog.h"
#include "index/ScreenshotIndex.h"
#include "naming/ModelAvailabilityMonitor.h"
#include "renaming/RenameHistoryStore.h"
#include "settings/FolderAccess.h"
#include "settings/SettingsStore.h"
#include "ui/AppShortcuts.h"
#include "ui/RenamePanelController.h"
#include "ui/RenamePanelWindow.h"
#include "ui/SearchIndexReader.h"
#include "ui/SettingsWindow.h"
#include "ui/TrayController.h"
#include "ui/UpdateDialogs.h"
#include "ui/XdgAutostart.h"
#include "update/SoftwareUpdates.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QScreen>
#include <QSystemTrayIcon>

#include <algorithm>

DesktopShell::DesktopShell(AppController &controller, FileManager &fileManager, bool startedAtLogin,
                           QObject *parent)
    : QObject(parent)
    , m_controller(controller)
    , m_startedAtLogin(startedAtLogin)
{
    m_searchIndex = std::make_unique<SearchIndexReader>(ScreenshotIndex::defaultPath());
    m_updates = SoftwareUpdates::fromBuildConfiguration(controller.preferences());
    m_updateDialogs = std::make_unique<UpdateDialogs>(*m_updates, fileManager);
    m_updates->start();

    m_tray = std::make_unique<TrayController>(
        controller.settings(), controller.history(),
        TrayController::Sources{[&controller] {
                                    return controller.coordinator().activeCount() > 0;
                                },
                                [this] {
                                    return m_updates->canCheckForUpdates();
                                },
                                &QDateTime::currentDateTimeUtc});
    m_tray->setSearchIndex(m_searchIndex.get());
    connect(m_tray.get(), &TrayController::commandRequested, this, &DesktopShell::runTrayCommand);
    watchTrayHost();
    m_shortcuts = std::make_unique<AppShortcuts>();
    connect(m_shortcuts.get(), &AppShortcuts::quitRequested, qApp, &QCoreApplication::quit,
            Qt::QueuedConnection);
    connect(m_shortcuts.get(), &AppShortcuts::settingsRequested, this, &DesktopShell::showSettings);

    m_renamePanel = std::make_unique<RenamePanelController>(
        RenamePanelController::Services{controller.coordinator(), controller.history(), controller.settings(),
                                        &controller.folderAccess(), fileManager,
                                        [](RenamePanelController &panelController) {
                                            return std::make_unique<RenamePanelWindow>(panelController);
                                        },
                                        &std::chrono::steady_clock::now});
}

void DesktopShell::runTrayCommand(const TrayState::CommandRequest &request)
{
    using TrayState::Command;
    AppController &controller = m_controller;
    switch (request.command) {
    case Command::None:
        return;
    case Command::GrantFolderAccess:
        controller.requestFolderAccess();
        return;
    case Command::TogglePause:
        controller.settings().setPaused(!controller.settings().isPaused());
        return;
    case Command::OpenWatchedFolder:
        controller.openWatchedFolder();
        return;
    case Command::UndoLast:
        if (!controller.history().records().isEmpty())
            controller.undo(controller.history().records().first());
        return;
    case Command::OpenSettings:
        showSettings();
        return;
    case Command::CheckForUpdates:
        m_updates->checkForUpdates();
        return;
    case Command::Quit:
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        return;
    case Command::RevealRecord:
        controller.reveal(*request.record);
        return;
    case Command::RevealFile:
        controller.revealFile(request.filePath);
        return;
    case Command::UndoRecord:
        controller.undo(*request.record);
        return;
    }
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
    m_tray->flashRenamed();
    m_renamePanel->show(record);
}

void DesktopShell::renameWasUndone(const QUuid &id, const QString &restoredPath)
{
    m_renamePanel->renameWasUndone(id, restoredPath);
}

void DesktopShell::stateChanged()
{
    m_tray->refreshIcon();
}

void DesktopShell::started(bool isFirstLaunch)
{
    m_tray->refreshIcon();
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

std::optional<CaptureContext::Panel> DesktopShell::shownPanel()
{
    return m_renamePanel ? m_renamePanel->onScreen() : std::nullopt;
}

void DesktopShell::showSettings()
{
    if (!m_settingsWindow) {
        m_modelAvailability = std::make_unique<ModelAvailabilityMonitor>(
            m_controller.settings(), ModelAvailabilityMonitor::localServerProbe());
        m_launchAtLogin = std::make_unique<XdgAutostart>(XdgAutostart::forThisProgram());
        m_settingsWindow = std::make_unique<SettingsWindow>(SettingsWindowServices{
            m_controller.settings(), *m_modelAvailability, *m_launchAtLogin, *m_updates,
            m_controller.folderAccess().isSandboxed(), m_searchIndex.get()});
        m_settingsWindow->setWindowTitle(tr("Quillo Settings"));
        connect(m_settingsWindow.get(), &SettingsWindow::chooseFolderRequested, &m_controller,
                &AppController::chooseCustomFolder);
        connect(m_settingsWindow.get(), &SettingsWindow::grantFolderAccessRequested, &m_controller,
                &AppController::requestFolderAccess);
        connect(m_settingsWindow.get(), &SettingsWindow::openWatchedFolderRequested, &m_controller,
                &AppController::openWatchedFolder);
        const auto measure = [reader = m_searchIndex.get()] {
            reader->measure();
        };
        connect(m_settingsWindow.get(), &SettingsWindow::clearSearchIndexRequested, this, [this, measure] {
            m_controller.clearSearchIndex(measure);
        });
        connect(m_settingsWindow.get(), &SettingsWindow::clearSearchIndexOffered, this, [this, measure] {
            m_controller.offerToClearSearchIndex(measure);
        });
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
