// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/RenamePanelModel.h"

#include "core/CanonicalPath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QString folderOf(const QString &filePath)
{
    return QFileInfo(QDir::cleanPath(filePath)).absolutePath();
}

QString lastComponent(const QString &path)
{
    const QString name = QFileInfo(QDir::cleanPath(path)).fileName();
    return name.isEmpty() ? path : name;
}

} // namespace

QString RenamePanelItem::displayExtension() const
{
    const QString suffix = QFileInfo(path).suffix();
    return suffix.isEmpty() ? QString() : u'.' + suffix;
}

QString RenamePanelItem::baseName() const
{
    return QFileInfo(path).completeBaseName();
}

QString FolderChoice::id() const
{
    return canonicalPath(path);
}

const RenamePanelItem *RenamePanelModel::current() const
{
    return m_index >= 0 && m_index < m_items.size() ? &m_items[m_index] : nullptr;
}

template <typename T> void RenamePanelModel::assign(T &field, const T &value)
{
    if (field == value)
        return;
    field = value;
    emit changed();
}

void RenamePanelModel::setItems(const QList<RenamePanelItem> &items)
{
    m_items = items;
    emit changed();
}

void RenamePanelModel::setIndex(int index)
{
    assign(m_index, index);
}

void RenamePanelModel::setRemaining(double seconds)
{
    if (m_remaining == seconds)
        return;
    m_remaining = seconds;
    emit countdownChanged();
}

void RenamePanelModel::setPaused(bool paused)
{
    assign(m_isPaused, paused);
}

void RenamePanelModel::setHovered(bool hovered)
{
    assign(m_isHovered, hovered);
}

void RenamePanelModel::setEditing(bool editing)
{
    assign(m_isEditing, editing);
}

void RenamePanelModel::setMenuOpen(bool open)
{
    assign(m_isMenuOpen, open);
}

void RenamePanelModel::setDraft(const QString &draft)
{
    assign(m_draft, draft);
}

void RenamePanelModel::setErrorMessage(const std::optional<QString> &message)
{
    assign(m_errorMessage, message);
}

void RenamePanelModel::setWatchedFolder(const std::optional<QString> &folder)
{
    assign(m_watchedFolder, folder);
}

void RenamePanelModel::setFolderChoices(const std::optional<FolderChoice> &root,
                                        const QList<FolderChoice> &subfolders)
{
    if (m_rootChoice == root && m_subfolderChoices == subfolders)
        return;
    m_rootChoice = root;
    m_subfolderChoices = subfolders;
    emit changed();
}

void RenamePanelModel::setThumbnail(const QUuid &id, const QImage &thumbnail)
{
    for (RenamePanelItem &item : m_items) {
        if (item.id == id) {
            item.thumbnail = thumbnail;
            emit changed();
        }
    }
}

void RenamePanelModel::apply(const RenameRecord &record, int position)
{
    if (position < 0 || position >= m_items.size())
        return;
    RenamePanelItem &item = m_items[position];
    if (record.renamedPath != item.path)
        item.state = RenamePanelItem::State::Updated;
    item.record = record;
    item.path = record.renamedPath;
    emit changed();
}

void RenamePanelModel::restore(int position, const QString &path)
{
    if (position < 0 || position >= m_items.size())
        return;
    RenamePanelItem &item = m_items[position];
    item.record.reset();
    item.path = path;
    item.state = RenamePanelItem::State::Restored;
    emit changed();
}

QString RenamePanelModel::rootTitle() const
{
    return m_watchedFolder ? lastComponent(*m_watchedFolder)
                           : QCoreApplication::translate("RenamePanelModel", "Screenshots");
}

FileLocation RenamePanelModel::location(const QString &filePath) const
{
    const QString folder = folderOf(filePath);
    if (m_watchedFolder) {
        const QString root = canonicalPath(*m_watchedFolder);
        if (canonicalPath(folder) == root)
            return {std::nullopt, rootTitle()};
        if (canonicalPath(folderOf(folder)) == root)
            return {rootTitle(), lastComponent(folder)};
    }
    return {std::nullopt, lastComponent(folder)};
}

bool RenamePanelModel::isIn(const FolderChoice &choice, const QString &filePath)
{
    return choice.id() == canonicalPath(folderOf(filePath));
}
