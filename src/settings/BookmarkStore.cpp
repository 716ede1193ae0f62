#include "settings/BookmarkStore.h"

#include "settings/CanonicalPath.h"
#include "settings/PreferencesStore.h"
#include "settings/SettingsLog.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>

namespace {

const QString watchedFolderKey = QStringLiteral("watchedFolderBookmark");
const QString destinationsKey = QStringLiteral("destinationFolderBookmarks");

using Bookmark = BookmarkStore::Bookmark;

QJsonObject toJson(const Bookmark &bookmark)
{
    return {{QStringLiteral("path"), bookmark.path},
            {QStringLiteral("data"), QString::fromLatin1(bookmark.data.toBase64())}};
}

std::optional<Bookmark> fromJson(const QJsonValue &value)
{
    const QJsonValue path = value[QStringLiteral("path")];
    const QJsonValue data = value[QStringLiteral("data")];
    if (!path.isString() || !data.isString())
        return std::nullopt;
    auto decoded =
        QByteArray::fromBase64Encoding(data.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return std::nullopt;
    return Bookmark{path.toString(), *decoded};
}

// Makes the reopening token for a folder; fails when it is not an existing folder.
BookmarkStore::Result makeBookmark(const QString &folder)
{
    const QString standard = QDir::cleanPath(folder);
    if (!QFileInfo(standard).isDir())
        return {std::nullopt,
                QStringLiteral("The folder “%1” does not exist.").arg(QFileInfo(standard).fileName())};
    return {Bookmark{standard, standard.toUtf8()}, QString()};
}

bool isSameOrInside(const QString &path, const QString &folder)
{
    if (path == folder)
        return true;
    return path.startsWith(folder.endsWith(u'/') ? folder : folder + u'/');
}

} // namespace

BookmarkStore::BookmarkStore(PreferencesStore &preferences, bool isSandboxed)
    : m_preferences(preferences)
    , m_isSandboxed(isSandboxed)
{
    if (const auto stored = m_preferences.dataValue(watchedFolderKey)) {
        const QJsonDocument document = QJsonDocument::fromJson(*stored);
        if (document.isObject())
            m_watchedFolder = fromJson(document.object());
    }
    if (const auto stored = m_preferences.dataValue(destinationsKey)) {
        const QJsonDocument document = QJsonDocument::fromJson(*stored);
        QList<Bookmark> decoded;
        bool isValid = document.isArray();
        for (const QJsonValue &value : document.array()) {
            const auto bookmark = fromJson(value);
            isValid = isValid && bookmark.has_value();
            if (bookmark)
                decoded.append(*bookmark);
        }
        if (isValid)
            m_destinations = decoded.mid(0, maximumDestinations);
    }
}

bool BookmarkStore::isRunningInSandbox()
{
    return qEnvironmentVariableIsSet("APP_SANDBOX_CONTAINER_ID") || qEnvironmentVariableIsSet("FLATPAK_ID");
}

void BookmarkStore::restoreAccess()
{
    if (m_watchedFolder)
        m_watchedFolder = restore(*m_watchedFolder);
    QList<Bookmark> restored;
    for (const Bookmark &bookmark : std::as_const(m_destinations)) {
        if (auto kept = restore(bookmark))
            restored.append(*kept);
    }
    m_destinations = restored;
    save();
}

std::optional<Bookmark> BookmarkStore::restore(const Bookmark &bookmark)
{
    // A path token is never stale; it only fails when the folder is gone.
    if (const auto error = open(bookmark)) {
        qCWarning(lcAccess).noquote()
            << QStringLiteral("Dropping the bookmark for %1: %2").arg(bookmark.path, *error);
        return std::nullopt;
    }
    return bookmark;
}

std::optional<QString> BookmarkStore::open(const Bookmark &bookmark)
{
    const QString folder = QString::fromUtf8(bookmark.data);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return QStringLiteral("The folder “%1” no longer exists.").arg(QFileInfo(folder).fileName());
    startAccessing(folder);
    return std::nullopt;
}

void BookmarkStore::startAccessing(const QString &folder)
{
    const QString key = canonicalPath(folder);
    if (!m_accesses.contains(key))
        m_accesses.insert(key, folder);
}

bool BookmarkStore::covers(const QString &path) const
{
    const QString canonical = canonicalPath(path);
    for (auto it = m_accesses.keyBegin(); it != m_accesses.keyEnd(); ++it) {
        if (isSameOrInside(canonical, *it))
            return true;
    }
    return false;
}

FolderAuthorization BookmarkStore::authorization(const QString &folder) const
{
    if (covers(folder))
        return FolderAuthorization::Authorized;
    if (!m_isSandboxed && QFileInfo(folder).isWritable())
        return FolderAuthorization::Authorized;
    return FolderAuthorization::NeedsAccess;
}

BookmarkStore::Result BookmarkStore::rememberWatchedFolder(const QString &folder)
{
    const Result made = makeBookmark(folder);
    if (!made.bookmark)
        return made;
    if (const auto error = open(*made.bookmark))
        return {std::nullopt, *error};
    const QString key = canonicalPath(made.bookmark->path);
    if (m_watchedFolder && canonicalPath(m_watchedFolder->path) != key)
        insertDestination(*m_watchedFolder);
    m_destinations.removeIf([&](const Bookmark &bookmark) {
        return canonicalPath(bookmark.path) == key;
    });
    m_watchedFolder = made.bookmark;
    save();
    return made;
}

BookmarkStore::Result BookmarkStore::rememberDestination(const QString &folder)
{
    if (m_watchedFolder && isSameOrInside(canonicalPath(folder), canonicalPath(m_watchedFolder->path)))
        return {};
    const Result made = makeBookmark(folder);
    if (!made.bookmark)
        return made;
    if (const auto error = open(*made.bookmark))
        return {std::nullopt, *error};
    insertDestination(*made.bookmark);
    save();
    return made;
}

void BookmarkStore::insertDestination(const Bookmark &bookmark)
{
    const QString key = canonicalPath(bookmark.path);
    m_destinations.removeIf([&](const Bookmark &other) {
        return canonicalPath(other.path) == key;
    });
    m_destinations.prepend(bookmark);
    while (m_destinations.size() > maximumDestinations) {
        const QString dropped = canonicalPath(m_destinations.takeLast().path);
        if (!m_watchedFolder || canonicalPath(m_watchedFolder->path) != dropped)
            m_accesses.remove(dropped);
    }
}

void BookmarkStore::stopAccessingAll()
{
    m_accesses.clear();
}

void BookmarkStore::save()
{
    if (m_watchedFolder)
        m_preferences.setData(watchedFolderKey,
                              QJsonDocument(toJson(*m_watchedFolder)).toJson(QJsonDocument::Compact));
    else
        m_preferences.remove(watchedFolderKey);
    QJsonArray array;
    for (const Bookmark &bookmark : std::as_const(m_destinations))
        array.append(toJson(bookmark));
    m_preferences.setData(destinationsKey, QJsonDocument(array).toJson(QJsonDocument::Compact));
}
