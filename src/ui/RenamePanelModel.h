// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "renaming/RenameRecord.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QString>
#include <QUuid>

#include <optional>

// One rename the panel can page through.
struct RenamePanelItem
{
    enum class State
    {
        Renamed,  // as Quillo named it
        Updated,  // renamed or moved again from the panel
        Restored, // the rename was undone
    };

    QUuid id;                           // the record's
    std::optional<RenameRecord> record; // as last known; absent once restored
    QString path;                       // where the file is now
    State state = State::Renamed;
    QImage thumbnail; // null until made, or when the file cannot be read

    // ".png", or empty for a file without extension.
    QString displayExtension() const;
    QString baseName() const;
};

// A folder the location menu offers as a move target.
struct FolderChoice
{
    QString path;
    QString title;

    // The canonical path, so a folder reached through a link or with ".." counts as the same one.
    QString id() const;

    friend bool operator==(const FolderChoice &, const FolderChoice &) = default;
};

// Where a file lies, for the location line: "Screenshots › Receipts", or just "Screenshots".
struct FileLocation
{
    std::optional<QString> parent;
    QString name;

    friend bool operator==(const FileLocation &, const FileLocation &) = default;
};

// What the rename panel shows. The controller writes it, the view draws it after every `changed`
// (or, for the countdown alone, `countdownChanged`). Main thread.
class RenamePanelModel final : public QObject
{
    Q_OBJECT

public:
    // A new rename restarts the countdown at this.
    static constexpr double countdownSeconds = 5.0;

    using QObject::QObject;

    const QList<RenamePanelItem> &items() const { return m_items; }
    int index() const { return m_index; }
    // The item at `index`, or nothing when the index lies outside the list.
    const RenamePanelItem *current() const;
    double remaining() const { return m_remaining; } // seconds
    bool isPaused() const { return m_isPaused; }
    bool isHovered() const { return m_isHovered; }
    bool isEditing() const { return m_isEditing; }
    bool isMenuOpen() const { return m_isMenuOpen; }
    const QString &draft() const { return m_draft; }
    const std::optional<QString> &errorMessage() const { return m_errorMessage; }
    const std::optional<QString> &watchedFolder() const { return m_watchedFolder; }
    const std::optional<FolderChoice> &rootChoice() const { return m_rootChoice; }
    const QList<FolderChoice> &subfolderChoices() const { return m_subfolderChoices; }

    void setItems(const QList<RenamePanelItem> &items);
    void setIndex(int index);
    void setRemaining(double seconds);
    void setPaused(bool paused);
    void setHovered(bool hovered);
    void setEditing(bool editing);
    void setMenuOpen(bool open);
    void setDraft(const QString &draft);
    void setErrorMessage(const std::optional<QString> &message);
    void setWatchedFolder(const std::optional<QString> &folder);
    void setFolderChoices(const std::optional<FolderChoice> &root, const QList<FolderChoice> &subfolders);
    void setThumbnail(const QUuid &id, const QImage &thumbnail);

    // The item at `position` was renamed or moved from the panel; a new path makes it `Updated`.
    void apply(const RenameRecord &record, int position);
    // The rename at `position` was undone and the file now lies at `path`.
    void restore(int position, const QString &path);

    // The watched folder's name, "Screenshots" while none is known.
    QString rootTitle() const;
    FileLocation location(const QString &filePath) const;
    // Whether the file at `filePath` lies in the choice's folder.
    static bool isIn(const FolderChoice &choice, const QString &filePath);

signals:
    void changed();
    void countdownChanged();

private:
    template <typename T> void assign(T &field, const T &value);

    QList<RenamePanelItem> m_items;
    int m_index = 0;
    double m_remaining = countdownSeconds;
    bool m_isPaused = false;
    bool m_isHovered = false;
    bool m_isEditing = false;
    bool m_isMenuOpen = false;
    QString m_draft;
    std::optional<QString> m_errorMessage;
    std::optional<QString> m_watchedFolder;
    std::optional<FolderChoice> m_rootChoice;
    QList<FolderChoice> m_subfolderChoices;
};
