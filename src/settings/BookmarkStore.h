#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

class PreferencesStore;

enum class FolderAuthorization
{
    Authorized,
    NeedsAccess
};

// Folders the user granted: the watched folder and the 20 most recent destination folders. On
// Linux a grant is the folder's path; it fails to reopen once the folder is gone. Inside a
// sandbox only granted folders are usable; outside, any writable folder is. Main thread only.
class BookmarkStore final
{
public:
    struct Bookmark
    {
        QString path;
        QByteArray data; // the token that reopens the folder: its path in UTF-8

        friend bool operator==(const Bookmark &, const Bookmark &) = default;
    };

    // A value a user can read, or the bookmark.
    struct Result
    {
        std::optional<Bookmark> bookmark;
        QString error;
    };

    static constexpr qsizetype maximumDestinations = 20;

    BookmarkStore(PreferencesStore &preferences, bool isSandboxed);

    // APP_SANDBOX_CONTAINER_ID or FLATPAK_ID is set.
    static bool isRunningInSandbox();
    bool isSandboxed() const { return m_isSandboxed; }

    // Reopens every stored folder; folders that no longer exist are dropped.
    void restoreAccess();
    FolderAuthorization authorization(const QString &folder) const;
    Result rememberWatchedFolder(const QString &folder);
    // Nothing, and no error, when the folder lies in the watched folder already.
    Result rememberDestination(const QString &folder);
    void stopAccessingAll();

    const std::optional<Bookmark> &watchedFolder() const { return m_watchedFolder; }
    const QList<Bookmark> &destinations() const { return m_destinations; }
    // Canonical paths of the folders opened in this run.
    QList<QString> openFolders() const { return m_accesses.keys(); }

private:
    std::optional<Bookmark> restore(const Bookmark &bookmark);
    std::optional<QString> open(const Bookmark &bookmark);
    void startAccessing(const QString &folder);
    void insertDestination(const Bookmark &bookmark);
    bool covers(const QString &path) const;
    void save();

    PreferencesStore &m_preferences;
    bool m_isSandboxed;
    std::optional<Bookmark> m_watchedFolder;
    QList<Bookmark> m_destinations;
    QHash<QString, QString> m_accesses; // canonical path -> the folder as opened
};
