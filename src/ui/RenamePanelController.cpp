// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/RenamePanelController.h"

#include "renaming/FileManager.h"
#include "renaming/FilenameFormatter.h"
#include "renaming/RenameCoordinator.h"
#include "renaming/RenameHistoryStore.h"
#include "settings/FolderAccess.h"
#include "settings/SettingsStore.h"
#include "ui/OffThread.h"
#include "ui/PanelWindow.h"
#include "ui/Thumbnails.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>

using namespace std::chrono_literals;

namespace {

constexpr auto tickInterval = 1000ms / 30;
constexpr int iconSide = 64;

QString folderOf(const QString &filePath)
{
    return QFileInfo(filePath).absolutePath();
}

QString fileName(const QString &filePath)
{
    return QFileInfo(filePath).fileName();
}

} // namespace

RenamePanelController::RenamePanelController(Services services, QObject *parent)
    : QObject(parent)
    , m_services(std::move(services))
    , m_lastTick(m_services.now())
{
    m_timer.setInterval(tickInterval);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &RenamePanelController::tick);
}

RenamePanelController::~RenamePanelController() = default;

PanelWindow &RenamePanelController::window()
{
    if (!m_window)
        m_window = m_services.makeWindow(*this);
    return *m_window;
}

void RenamePanelController::show(const RenameRecord &record)
{
    const RenamePanelItem item{record.id, record, record.renamedPath, {}, {}};
    QList<RenamePanelItem> items = m_model.items();
    int index = 0;
    if (!m_isShowing) {
        items = {item};
        m_model.setEditing(false);
        m_model.setErrorMessage(std::nullopt);
        m_pauseReasons.clear();
        m_model.setPaused(false);
    } else {
        items.append(item);
        index = m_model.index();
        if (items.size() > maximumItems) {
            items.removeFirst();
            index = std::max(0, index - 1);
        }
        // While a name is edited the edited item stays in view.
        if (!m_model.isEditing()) {
            index = int(items.size()) - 1;
            m_model.setErrorMessage(std::nullopt);
        }
    }
    m_model.setItems(items);
    m_model.setIndex(index);
    m_model.setRemaining(RenamePanelModel::countdownSeconds);
    refreshFolderChoices();
    present();
    window().announce(QCoreApplication::translate("RenamePanelController", "Screenshot renamed to %1")
                          .arg(fileName(record.renamedPath)));
    makeThumbnail(item);
}

void RenamePanelController::makeThumbnail(const RenamePanelItem &item)
{
    runOffThread(
        this,
        [path = item.path] {
            return Thumbnails::draw(path);
        },
        [this, id = item.id, path = item.path](const Thumbnails::Result &result) {
            if (!result.isReadable)
                return;
            m_model.setThumbnail(id, result.image.isNull() ? Thumbnails::fileTypeIcon(path, iconSide)
                                                           : result.image);
        });
}

void RenamePanelController::present()
{
    ++m_generation;
    m_isShowing = true;
    window().present();
    updateHover();
    m_lastTick = m_services.now();
    m_timer.start();
}

std::optional<CaptureContext::Panel> RenamePanelController::onScreen()
{
    return m_isShowing ? std::optional(window().onScreen()) : std::nullopt;
}

void RenamePanelController::dismiss()
{
    if (!m_isShowing)
        return;
    m_isShowing = false;
    const int generation = ++m_generation;
    m_timer.stop();
    PanelWindow &panel = window();
    if (m_model.isEditing())
        panel.setTakesFocus(false);
    m_model.setEditing(false);
    m_pauseReasons.clear();
    m_model.setPaused(false);
    if (panel.isPreviewOpen())
        panel.closePreview();
    panel.dismiss([this, generation] {
        // A rename shown during the fade has presented the panel again.
        if (generation != m_generation)
            return;
        window().takeOffScreen();
        m_model.setItems({});
    });
}

void RenamePanelController::tick()
{
    const auto now = m_services.now();
    const double elapsed = std::chrono::duration<double>(now - m_lastTick).count();
    // Advanced on every tick, so time spent paused is never counted later.
    m_lastTick = now;
    if (!m_isShowing || !m_pauseReasons.empty())
        return;
    const double remaining = std::max(0.0, m_model.remaining() - elapsed);
    m_model.setRemaining(remaining);
    if (remaining == 0.0)
        dismiss();
}

void RenamePanelController::pause(PauseReason reason)
{
    m_pauseReasons.insert(reason);
    m_model.setPaused(true);
}

void RenamePanelController::resume(PauseReason reason)
{
    m_pauseReasons.erase(reason);
    m_model.setPaused(!m_pauseReasons.empty());
    m_lastTick = m_services.now();
}

void RenamePanelController::updateHover()
{
    setHovered(m_isShowing && window().isPointerOver());
}

void RenamePanelController::setHovered(bool hovered)
{
    m_model.setHovered(hovered);
    if (hovered)
        pause(PauseReason::Hover);
    else
        resume(PauseReason::Hover);
}

void RenamePanelController::setMenuOpen(bool open)
{
    if (!m_isShowing)
        return;
    m_model.setMenuOpen(open);
    if (open) {
        pause(PauseReason::Menu);
    } else {
        resume(PauseReason::Menu);
        updateHover();
    }
}

void RenamePanelController::setPreviewOpen(bool open)
{
    if (open) {
        pause(PauseReason::Preview);
    } else {
        resume(PauseReason::Preview);
        updateHover();
    }
}

void RenamePanelController::beginDragging()
{
    pause(PauseReason::Dragging);
}

void RenamePanelController::endDragging()
{
    resume(PauseReason::Dragging);
    updateHover();
}

void RenamePanelController::showPrevious()
{
    page(-1);
}

void RenamePanelController::showNext()
{
    page(+1);
}

void RenamePanelController::page(int step)
{
    if (m_model.isEditing())
        commitName();
    const int index = m_model.index() + step;
    if (index < 0 || index >= m_model.items().size())
        return;
    m_model.setIndex(index);
    m_model.setErrorMessage(std::nullopt);
    refreshFolderChoices();
}

std::optional<RenameRecord> RenamePanelController::currentRecord() const
{
    const RenamePanelItem *item = m_model.current();
    if (!item || !item->record)
        return std::nullopt;
    // The history holds the newest copy when the file was changed from the tray meanwhile.
    return m_services.history.record(item->id).value_or(*item->record);
}

bool RenamePanelController::select(const QUuid &id)
{
    const auto &items = m_model.items();
    for (int i = 0; i < items.size(); ++i) {
        if (items[i].id == id) {
            m_model.setIndex(i);
            return true;
        }
    }
    return false;
}

void RenamePanelController::beginEditing()
{
    const RenamePanelItem *item = m_model.current();
    if (!item || !item->record)
        return;
    m_model.setErrorMessage(std::nullopt);
    m_model.setDraft(item->baseName());
    m_model.setEditing(true);
    pause(PauseReason::Editing);
    window().setTakesFocus(true);
}

void RenamePanelController::setDraft(const QString &draft)
{
    m_model.setDraft(draft);
}

void RenamePanelController::endEditing()
{
    if (!m_model.isEditing())
        return;
    m_model.setEditing(false);
    resume(PauseReason::Editing);
    window().setTakesFocus(false);
}

void RenamePanelController::commitName()
{
    if (!m_model.isEditing())
        return;
    const QString draft = m_model.draft();
    endEditing();
    const RenamePanelItem *item = m_model.current();
    // A name that cleans to nothing, or to the current one, leaves the file alone.
    const auto baseName = FilenameFormatter::userBaseName(draft);
    if (item && baseName && *baseName != item->baseName())
        relocate(std::nullopt, baseName);
}

void RenamePanelController::move(const QString &folder)
{
    endEditing();
    relocate(folder, std::nullopt);
}

void RenamePanelController::relocate(const std::optional<QString> &folder,
                                     const std::optional<QString> &baseName)
{
    if (const auto record = currentRecord())
        applyOutcome(m_services.coordinator.relocate(*record, folder.value_or(folderOf(record->renamedPath)),
                                                     baseName));
}

void RenamePanelController::applyOutcome(const RenameOutcome<RenameRecord> &outcome)
{
    if (!outcome) {
        m_model.setErrorMessage(outcome.error.description);
        return;
    }
    m_model.apply(*outcome.value, m_model.index());
    m_model.setErrorMessage(std::nullopt);
    refreshFolderChoices();
}

void RenamePanelController::newFolder()
{
    // Not inside the menu's own event handling.
    QMetaObject::invokeMethod(this, &RenamePanelController::createFolderAndMove, Qt::QueuedConnection);
}

void RenamePanelController::chooseFolder()
{
    QMetaObject::invokeMethod(this, &RenamePanelController::chooseFolderAndMove, Qt::QueuedConnection);
}

std::optional<QString>
RenamePanelController::askAboutCurrent(const std::function<std::optional<QString>(const RenameRecord &)> &ask)
{
    const auto record = currentRecord();
    if (!record)
        return std::nullopt;
    pause(PauseReason::Modal);
    const auto answer = ask(*record);
    resume(PauseReason::Modal);
    updateHover();
    // Renames that arrived meanwhile moved the view; the answer is for the file it was asked about.
    return select(record->id) ? answer : std::nullopt;
}

std::optional<QString> RenamePanelController::currentRoot() const
{
    // Several folders may be watched: category and new folders go beside where this one was taken.
    if (const auto record = currentRecord())
        return record->originalFolderPath;
    return m_services.coordinator.watchedFolder();
}

void RenamePanelController::createFolderAndMove()
{
    const auto root = currentRoot();
    if (!root)
        return;
    const auto name = askAboutCurrent([this](const RenameRecord &) {
        return window().askNewFolderName(m_model.rootTitle());
    });
    const QString safeName = name ? FilenameFormatter::folderName(*name, QString()) : QString();
    if (!safeName.isEmpty())
        move(QDir(*root).filePath(safeName));
}

void RenamePanelController::chooseFolderAndMove()
{
    const auto folder = askAboutCurrent([this](const RenameRecord &record) {
        return window().chooseFolder(
            QCoreApplication::translate("RenamePanelController", "Choose where to move “%1”.")
                .arg(fileName(record.renamedPath)),
            folderOf(record.renamedPath));
    });
    if (!folder)
        return;
    if (m_services.folderAccess) {
        // Shown, but the move is still tried: outside a sandbox the folder is usable anyway.
        if (const auto remembered = m_services.folderAccess->rememberDestination(*folder);
            !remembered.error.isEmpty())
            m_model.setErrorMessage(remembered.error);
    }
    move(*folder);
}

void RenamePanelController::refreshFolderChoices()
{
    const auto root = currentRoot();
    m_model.setWatchedFolder(root);
    if (!root) {
        m_model.setFolderChoices(std::nullopt, {});
        return;
    }
    const FolderChoice rootChoice{*root, m_model.rootTitle()};
    QSet<QString> seen{rootChoice.id()};
    QList<FolderChoice> subfolders;
    const auto add = [&](const QString &folder, const QString &title) {
        const FolderChoice choice{folder, title};
        if (!seen.contains(choice.id())) {
            seen.insert(choice.id());
            subfolders.append(choice);
        }
    };
    const RoutingConfiguration routing = m_services.settings.routing();
    for (const CategoryRule &listed : routing.rules) {
        const CategoryRule rule = routing.rule(listed.category);
        if (!listed.isEnabled || !rule.isEnabled)
            continue;
        const QString name = FilenameFormatter::folderName(rule.folderName, defaultFolderName(rule.category));
        add(QDir(*root).filePath(name), name);
    }
    // A file moved elsewhere keeps its own folder in the menu.
    if (const RenamePanelItem *item = m_model.current())
        add(folderOf(item->path), m_model.location(item->path).name);
    m_model.setFolderChoices(rootChoice, subfolders);
}

void RenamePanelController::undo()
{
    endEditing();
    const auto record = currentRecord();
    if (!record)
        return;
    const auto restored = m_services.coordinator.undo(*record);
    if (!restored) {
        m_model.setErrorMessage(restored.error.description);
        return;
    }
    m_model.restore(m_model.index(), *restored.value);
    m_model.setErrorMessage(std::nullopt);
}

void RenamePanelController::renameWasUndone(const QUuid &id, const QString &restoredPath)
{
    const auto &items = m_model.items();
    for (int i = 0; i < items.size(); ++i) {
        if (items[i].id != id)
            continue;
        if (i == m_model.index())
            endEditing();
        m_model.restore(i, restoredPath);
        return;
    }
}

void RenamePanelController::reveal()
{
    const RenamePanelItem *item = m_model.current();
    if (!item)
        return;
    if (!QFileInfo::exists(item->path)) {
        m_model.setErrorMessage(UndoError::fileMissingForChange(fileName(item->path)).description);
        return;
    }
    // The panel goes once the file manager has it, and says so when none can show it.
    m_services.fileManager.reveal(
        item->path, [self = QPointer(this), id = item->id](const std::optional<QString> &problem) {
            if (!self)
                return;
            if (!problem) {
                self->dismiss();
            } else if (self->select(id)) {
                self->m_model.setErrorMessage(*problem);
                self->present();
            }
        });
}

void RenamePanelController::preview()
{
    const RenamePanelItem *item = m_model.current();
    if (!item || !QFileInfo::exists(item->path))
        return;
    PanelWindow &panel = window();
    if (panel.isPreviewOpen())
        panel.closePreview();
    else if (m_isShowing)
        panel.openPreview(item->path);
}
