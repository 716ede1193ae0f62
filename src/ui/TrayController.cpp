// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TrayController.h"

#include "core/TextScanning.h"
#include "renaming/RenameHistoryStore.h"
#include "settings/SettingsStore.h"
#include "ui/RecentRenameRow.h"
#include "ui/TrayIcon.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QPalette>
#include <QWidgetAction>

#include <algorithm>

using TrayState::Command;
using TrayState::Entry;

TrayController::TrayController(const SettingsStore &settings, const RenameHistoryStore &history,
                               Sources sources, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_history(history)
    , m_sources(std::move(sources))
    , m_menu(std::make_unique<QMenu>())
    , m_popup(std::make_unique<QMenu>())
{
    m_menu->setObjectName(QStringLiteral("trayMenu"));
    m_popup->setObjectName(QStringLiteral("trayPopup"));
    m_flashEnd.setSingleShot(true);
    m_flashEnd.setTimerType(Qt::PreciseTimer);
    connect(&m_flashEnd, &QTimer::timeout, this, [this] {
        // A coarse timer may fire a little early; the check mark waits for its full time.
        if (const auto left = m_flash.remaining(m_sources.now()); left.count() > 0)
            m_flashEnd.start(left);
        refreshIcon();
    });
    // Rebuilt as it opens, so it always shows the current state; tray hosts that export the menu
    // over D-Bus announce the opening the same way.
    connect(m_menu.get(), &QMenu::aboutToShow, this, &TrayController::rebuildMenu);
    connect(m_popup.get(), &QMenu::aboutToShow, this, &TrayController::rebuildPopup);
    connect(&m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            m_popup->popup(QCursor::pos());
    });
    rebuildMenu();
    m_tray.setContextMenu(m_menu.get());
    refreshIcon();
    m_tray.show();
}

TrayController::~TrayController()
{
    m_tray.setContextMenu(nullptr);
}

TrayState::Inputs TrayController::inputs() const
{
    const QDateTime now = m_sources.now();
    return {m_settings.isPaused(),
            m_settings.needsFolderAccess(),
            m_sources.isProcessing && m_sources.isProcessing(),
            m_flash.isShowing(now),
            m_settings.watchedFolder(),
            m_history.records(),
            m_sources.canCheckForUpdates && m_sources.canCheckForUpdates(),
            m_settings.renamingProblem(),
            m_settings.readingProblem()};
}

TrayState::Icon TrayController::currentIcon() const
{
    return TrayState::icon(inputs());
}

void TrayController::refreshIcon()
{
    const TrayState::Icon icon = currentIcon();
    // The palette's text colour suits the panel the tray sits in, light or dark.
    m_tray.setIcon(TrayIcon::icon(icon, QApplication::palette().color(QPalette::WindowText)));
    m_tray.setToolTip(TrayState::description(icon));
}

void TrayController::flashRenamed()
{
    const QDateTime now = m_sources.now();
    m_flash.start(now);
    m_flashEnd.start(m_flash.remaining(now));
    refreshIcon();
}

void TrayController::rebuildMenu()
{
    m_menu->clear();
    fill(*m_menu, TrayState::menu(inputs(), m_sources.now()), false);
}

void TrayController::rebuildPopup()
{
    m_popup->clear();
    fill(*m_popup, TrayState::menu(inputs(), m_sources.now()), true);
}

void TrayController::fill(QMenu &menu, const QList<Entry> &entries, bool richRows)
{
    for (const Entry &entry : entries) {
        switch (entry.kind) {
        case Entry::Kind::Separator:
            menu.addSeparator();
            continue;
        case Entry::Kind::Section:
            menu.addSection(TextScanning::escapedMnemonics(entry.text));
            continue;
        case Entry::Kind::Submenu: {
            if (richRows && entry.record) {
                addRow(menu, entry);
                continue;
            }
            QMenu *submenu =
                menu.addMenu(QIcon::fromTheme(entry.iconName), TextScanning::escapedMnemonics(entry.text));
            submenu->setToolTip(entry.toolTip);
            submenu->setToolTipsVisible(true);
            fill(*submenu, entry.children, false);
            continue;
        }
        case Entry::Kind::Action:
            break;
        }
        // File and folder names are the user's: an "&" in them is a character, not a shortcut.
        QAction *action =
            menu.addAction(QIcon::fromTheme(entry.iconName), TextScanning::escapedMnemonics(entry.text));
        action->setEnabled(entry.isEnabled);
        action->setShortcut(entry.shortcut);
        if (entry.command != Command::None)
            connect(action, &QAction::triggered, this, [this, entry] {
                run(entry);
            });
    }
}

void TrayController::addRow(QMenu &menu, const Entry &entry)
{
    // The rename's submenu holds its detail line and its two commands.
    const auto child = [&entry](Command command) {
        return *std::find_if(entry.children.begin(), entry.children.end(), [command](const Entry &candidate) {
            return candidate.command == command;
        });
    };
    auto *row =
        new RecentRenameRow(entry.record->renamedPath, entry.text, entry.children.first().text, &menu);
    auto *action = new QWidgetAction(&menu);
    action->setDefaultWidget(row);
    menu.addAction(action);
    connect(row, &RecentRenameRow::revealRequested, this,
            [this, &menu, reveal = child(Command::RevealRecord)] {
                menu.close();
                run(reveal);
            });
    connect(row, &RecentRenameRow::undoRequested, this, [this, &menu, undo = child(Command::UndoRecord)] {
        menu.close();
        run(undo);
    });
    connect(row, &FileDragButton::dragFinished, &menu, &QMenu::close);
}

void TrayController::run(const Entry &entry)
{
    // After the menu has gone, so an undo, a dialog or a window never opens under it.
    QTimer::singleShot(0, this, [this, request = TrayState::CommandRequest{entry.command, entry.record}] {
        emit commandRequested(request);
    });
}
