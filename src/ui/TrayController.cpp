// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TrayController.h"

#include "core/TextScanning.h"
#include "renaming/RenameHistoryStore.h"
#include "settings/SettingsStore.h"
#include "ui/OffThread.h"
#include "ui/PreviewWindow.h"
#include "ui/RecentRenameRow.h"
#include "ui/SearchIndexReader.h"
#include "ui/Thumbnails.h"
#include "ui/TrayIcon.h"

#include <QApplication>
#include <QCursor>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPalette>
#include <QWidgetAction>

#include <algorithm>

using TrayState::Command;
using TrayState::Entry;

namespace {

// Thumbnails kept between openings of the popup; beyond this many they are drawn again.
constexpr qsizetype keptThumbnails = 64;

} // namespace

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
    connect(m_popup.get(), &QMenu::aboutToShow, this, [this] {
        // Every opening starts with an empty field and the recent renames.
        if (m_searchField)
            m_searchField->clear();
        m_search.edit({}, m_sources.now());
        m_searchTimer.stop();
        rebuildPopup();
    });
    m_popup->installEventFilter(this);
    m_searchTimer.setSingleShot(true);
    connect(&m_searchTimer, &QTimer::timeout, this, &TrayController::searchIfDue);
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
            m_settings.readingProblem(),
            m_reader && m_settings.remembersText(),
            m_search};
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
    const QList<Entry> entries = TrayState::menu(inputs(), m_sources.now());
    const bool keepsField = !entries.isEmpty() && entries.first().kind == Entry::Kind::SearchField;
    // The field stays while the rows under it change, so it keeps its focus and what is typed.
    for (QAction *action : m_popup->actions()) {
        if (action == m_searchAction && keepsField)
            continue;
        m_popup->removeAction(action);
        if (action != m_searchAction && action->parent() == m_popup.get())
            action->deleteLater();
    }
    m_firstRow = nullptr;
    fill(*m_popup, entries, true);
}

void TrayController::setSearchIndex(SearchIndexReader *reader)
{
    m_reader = reader;
    if (!m_reader)
        return;
    createSearchField();
    connect(m_reader, &SearchIndexReader::found, this,
            [this](quint64 id, const ScreenshotIndex::Found &found) {
                if (m_search.answer(id, found) && m_popup->isVisible())
                    rebuildPopup();
            });
}

void TrayController::createSearchField()
{
    if (m_searchAction)
        return;
    m_searchField = new QLineEdit;
    m_searchField->setObjectName(QStringLiteral("searchLineEdit"));
    m_searchField->setClearButtonEnabled(true);
    m_searchField->setMinimumWidth(RecentRenameRow::rowSize.width() - 16);
    auto *frame = new QWidget;
    auto *layout = new QHBoxLayout(frame);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->addWidget(m_searchField);
    frame->setFocusProxy(m_searchField);
    m_searchAction = new QWidgetAction(m_popup.get());
    m_searchAction->setDefaultWidget(frame);
    m_searchField->installEventFilter(this);
    connect(m_searchField, &QLineEdit::textChanged, this, &TrayController::searchEdited);
}

void TrayController::searchEdited(const QString &text)
{
    const QDateTime now = m_sources.now();
    if (m_search.edit(text, now))
        rebuildPopup();
    if (const auto wait = m_search.untilDue(now))
        m_searchTimer.start(*wait);
}

void TrayController::searchIfDue()
{
    if (const auto lookup = m_search.takeDue(m_sources.now())) {
        m_reader->search(lookup->id, lookup->words, TraySearch::limit);
        return;
    }
    // A timer may fire a little early: the lookup waits for the whole pause.
    if (const auto wait = m_search.untilDue(m_sources.now()))
        m_searchTimer.start(std::max(*wait, std::chrono::milliseconds(1)));
}

bool TrayController::eventFilter(QObject *watched, QEvent *event)
{
    const bool hasField = m_searchAction && m_popup->actions().contains(m_searchAction);
    if (watched == m_popup.get() && hasField && event->type() == QEvent::Show) {
        m_popup->setActiveAction(m_searchAction);
        m_searchField->setFocus(Qt::PopupFocusReason);
    } else if (watched == m_popup.get() && hasField && event->type() == QEvent::KeyPress) {
        // Typing anywhere in the popup types into the field, rather than picking a command by letter.
        auto *key = static_cast<QKeyEvent *>(event);
        const QString typed = key->text();
        const bool isText = !typed.isEmpty() && typed.front().isPrint() &&
                            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (isText && !m_searchField->hasFocus()) {
            m_popup->setActiveAction(m_searchAction);
            m_searchField->setFocus(Qt::OtherFocusReason);
            QCoreApplication::sendEvent(m_searchField, event);
            return true;
        }
    } else if (watched == m_searchField && event->type() == QEvent::KeyPress) {
        return searchFieldKeyPressed(*static_cast<QKeyEvent *>(event));
    }
    return QObject::eventFilter(watched, event);
}

// True when the key was for the field; the others go on to the popup.
bool TrayController::searchFieldKeyPressed(const QKeyEvent &event)
{
    switch (event.key()) {
    case Qt::Key_Escape:
        // The first Escape empties the field; the next closes the popup.
        if (m_searchField->text().isEmpty())
            return false;
        m_searchField->clear();
        return true;
    case Qt::Key_Down:
        // Into the list under the field, not to the first command.
        if (!m_firstRow)
            return false;
        m_popup->setActiveAction(m_firstRow);
        m_firstRow->defaultWidget()->setFocus(Qt::TabFocusReason);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // The popup would take it for a click on the field and close.
        if (m_firstRow)
            m_firstRow->trigger();
        return true;
    default:
        return false;
    }
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
            if (richRows && !entry.filePath.isEmpty()) {
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
        case Entry::Kind::SearchField:
            if (richRows && m_searchAction) {
                m_searchField->setPlaceholderText(entry.text);
                if (!menu.actions().contains(m_searchAction))
                    menu.addAction(m_searchAction);
            }
            continue;
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
    // The row's submenu holds its detail line and its commands: a reveal, and for a rename an undo.
    const auto child = [&entry](Command command) -> std::optional<Entry> {
        const auto found =
            std::find_if(entry.children.begin(), entry.children.end(), [command](const Entry &candidate) {
                return candidate.command == command;
            });
        return found == entry.children.end() ? std::nullopt : std::optional(*found);
    };
    auto *row = new RecentRenameRow(entry.filePath, entry.text, entry.children.first().text, &menu);
    auto *action = new QWidgetAction(&menu);
    action->setDefaultWidget(row);
    menu.addAction(action);
    if (!m_firstRow)
        m_firstRow = action;
    const Entry reveal = child(Command::RevealRecord).value_or(child(Command::RevealFile).value_or(Entry{}));
    const auto revealNow = [this, &menu, reveal] {
        menu.close();
        run(reveal);
    };
    connect(row, &RecentRenameRow::revealRequested, this, revealNow);
    // Return on a row the keyboard moved to.
    connect(action, &QAction::triggered, this, revealNow);
    if (const auto undo = child(Command::UndoRecord))
        connect(row, &RecentRenameRow::undoRequested, this, [this, &menu, undo = *undo] {
            menu.close();
            run(undo);
        });
    else
        row->setUndoShown(false);
    // A search result's detail starts with the words it was found by.
    if (child(Command::RevealFile))
        row->setDetailElideMode(Qt::ElideRight);
    connect(row, &RecentRenameRow::previewRequested, this, [this, &menu, path = entry.filePath] {
        menu.close();
        preview(path);
    });
    connect(row, &FileDragButton::dragFinished, &menu, &QMenu::close);
    drawThumbnail(row, entry.filePath);
}

void TrayController::drawThumbnail(RecentRenameRow *row, const QString &filePath)
{
    if (const auto kept = m_thumbnails.constFind(filePath); kept != m_thumbnails.constEnd()) {
        row->setThumbnail(*kept);
        return;
    }
    // Decoding a screenshot takes a while; the row shows the file's icon meanwhile. A row that went
    // first gets nothing.
    runOffThread(
        row,
        [filePath] {
            return Thumbnails::draw(filePath);
        },
        [this, row, filePath](const Thumbnails::Result &result) {
            if (result.image.isNull())
                return;
            if (m_thumbnails.size() >= keptThumbnails)
                m_thumbnails.clear();
            m_thumbnails.insert(filePath, result.image);
            row->setThumbnail(result.image);
        });
}

void TrayController::preview(const QString &filePath)
{
    if (!m_preview)
        m_preview = std::make_unique<PreviewWindow>();
    // After the popup has gone, which would otherwise keep the keyboard.
    QTimer::singleShot(0, m_preview.get(), [preview = m_preview.get(), filePath] {
        preview->open(filePath);
    });
}

void TrayController::run(const Entry &entry)
{
    // After the menu has gone, so an undo, a dialog or a window never opens under it.
    QTimer::singleShot(
        0, this, [this, request = TrayState::CommandRequest{entry.command, entry.record, entry.filePath}] {
            emit commandRequested(request);
        });
}
