// SPDX-License-Identifier: GPL-3.0-or-later
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
class FolderAccess final
{
public:
    struct Grant
    {
        QString path;
        QByteArray data; // the token that reopens the folder: its path in UTF-8

        friend bool operator==(const Grant &, const Grant &) = default;
    };

    // A value a user can read, or the grant.
    struct Result
    {
        std::optional<Grant> grant;
        QString error;
    };

    static constexpr qsizetype maximumDestinations = 20;

    FolderAccess(PreferencesStore &preferences, bool isSandboxed);

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

    const std::optional<Grant> &watchedFolder() const { return m_watchedFolder; }
    const QList<Grant> &destinations() const { return m_destinations; }
    // Canonical paths of the folders opened in this run.
    QList<QString> openFolders() const { return m_accesses.keys(); }

private:
    std::optional<Grant> restore(const Grant &grant);
    std::optional<QString> open(const Grant &grant);
    void startAccessing(const QString &folder);
    void insertDestination(const Grant &grant);
    bool covers(const QString &path) const;
    void save();

    PreferencesStore &m_preferences;
    bool m_isSandboxed;
    std::optional<Grant> m_watchedFolder;
    QList<Grant> m_destinations;
    QHash<QString, QString> m_accesses; // canonical path -> the folder as opened
};
