// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/FolderAccess.h"

#include "core/CanonicalPath.h"
#include "settings/PreferencesStore.h"
#include "settings/SettingsLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>

namespace {

const QString watchedFolderKey = QStringLiteral("watchedFolderBookmark");
const QString destinationsKey = QStringLiteral("destinationFolderBookmarks");

using Grant = FolderAccess::Grant;

QJsonObject toJson(const Grant &grant)
{
    return {{QStringLiteral("path"), grant.path},
            {QStringLiteral("data"), QString::fromLatin1(grant.data.toBase64())}};
}

std::optional<Grant> fromJson(const QJsonValue &value)
{
    const QJsonValue path = value[QStringLiteral("path")];
    const QJsonValue data = value[QStringLiteral("data")];
    if (!path.isString() || !data.isString())
        return std::nullopt;
    auto decoded =
        QByteArray::fromBase64Encoding(data.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return std::nullopt;
    return Grant{path.toString(), *decoded};
}

// Makes the reopening token for a folder; fails when it is not an existing folder.
FolderAccess::Result makeGrant(const QString &folder)
{
    const QString standard = QDir::cleanPath(folder);
    if (!QFileInfo(standard).isDir())
        return {std::nullopt, QCoreApplication::translate("FolderAccess", "The folder “%1” does not exist.")
                                  .arg(QFileInfo(standard).fileName())};
    return {Grant{standard, standard.toUtf8()}, QString()};
}

bool isSameOrInside(const QString &path, const QString &folder)
{
    if (path == folder)
        return true;
    return path.startsWith(folder.endsWith(u'/') ? folder : folder + u'/');
}

} // namespace

FolderAccess::FolderAccess(PreferencesStore &preferences, bool isSandboxed)
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
        QList<Grant> decoded;
        bool isValid = document.isArray();
        for (const QJsonValue &value : document.array()) {
            const auto grant = fromJson(value);
            isValid = isValid && grant.has_value();
            if (grant)
                decoded.append(*grant);
        }
        if (isValid)
            m_destinations = decoded.mid(0, maximumDestinations);
    }
}

bool FolderAccess::isRunningInSandbox()
{
    return qEnvironmentVariableIsSet("APP_SANDBOX_CONTAINER_ID") || qEnvironmentVariableIsSet("FLATPAK_ID");
}

void FolderAccess::restoreAccess()
{
    if (m_watchedFolder)
        m_watchedFolder = restore(*m_watchedFolder);
    QList<Grant> restored;
    for (const Grant &grant : std::as_const(m_destinations)) {
        if (auto kept = restore(grant))
            restored.append(*kept);
    }
    m_destinations = restored;
    save();
}

std::optional<Grant> FolderAccess::restore(const Grant &grant)
{
    // A path token is never stale; it only fails when the folder is gone.
    if (const auto error = open(grant)) {
        qCWarning(lcAccess).noquote()
            << QStringLiteral("Dropping the bookmark for %1: %2").arg(grant.path, *error);
        return std::nullopt;
    }
    return grant;
}

std::optional<QString> FolderAccess::open(const Grant &grant)
{
    const QString folder = QString::fromUtf8(grant.data);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return QCoreApplication::translate("FolderAccess", "The folder “%1” no longer exists.")
            .arg(QFileInfo(folder).fileName());
    startAccessing(folder);
    return std::nullopt;
}

void FolderAccess::startAccessing(const QString &folder)
{
    const QString key = canonicalPath(folder);
    if (!m_accesses.contains(key))
        m_accesses.insert(key, folder);
}

bool FolderAccess::covers(const QString &path) const
{
    const QString canonical = canonicalPath(path);
    for (auto it = m_accesses.keyBegin(); it != m_accesses.keyEnd(); ++it) {
        if (isSameOrInside(canonical, *it))
            return true;
    }
    return false;
}

FolderAuthorization FolderAccess::authorization(const QString &folder) const
{
    if (covers(folder))
        return FolderAuthorization::Authorized;
    if (!m_isSandboxed && QFileInfo(folder).isWritable())
        return FolderAuthorization::Authorized;
    return FolderAuthorization::NeedsAccess;
}

FolderAccess::Result FolderAccess::rememberWatchedFolder(const QString &folder)
{
    const Result made = makeGrant(folder);
    if (!made.grant)
        return made;
    if (const auto error = open(*made.grant))
        return {std::nullopt, *error};
    const QString key = canonicalPath(made.grant->path);
    if (m_watchedFolder && canonicalPath(m_watchedFolder->path) != key)
        insertDestination(*m_watchedFolder);
    m_destinations.removeIf([&](const Grant &grant) {
        return canonicalPath(grant.path) == key;
    });
    m_watchedFolder = made.grant;
    save();
    return made;
}

FolderAccess::Result FolderAccess::rememberDestination(const QString &folder)
{
    if (m_watchedFolder && isSameOrInside(canonicalPath(folder), canonicalPath(m_watchedFolder->path)))
        return {};
    const Result made = makeGrant(folder);
    if (!made.grant)
        return made;
    if (const auto error = open(*made.grant))
        return {std::nullopt, *error};
    insertDestination(*made.grant);
    save();
    return made;
}

void FolderAccess::insertDestination(const Grant &grant)
{
    const QString key = canonicalPath(grant.path);
    m_destinations.removeIf([&](const Grant &other) {
        return canonicalPath(other.path) == key;
    });
    m_destinations.prepend(grant);
    while (m_destinations.size() > maximumDestinations) {
        const QString dropped = canonicalPath(m_destinations.takeLast().path);
        if (!m_watchedFolder || canonicalPath(m_watchedFolder->path) != dropped)
            m_accesses.remove(dropped);
    }
}

void FolderAccess::stopAccessingAll()
{
    m_accesses.clear();
}

void FolderAccess::save()
{
    if (m_watchedFolder)
        m_preferences.setData(watchedFolderKey,
                              QJsonDocument(toJson(*m_watchedFolder)).toJson(QJsonDocument::Compact));
    else
        m_preferences.remove(watchedFolderKey);
    QJsonArray array;
    for (const Grant &grant : std::as_const(m_destinations))
        array.append(toJson(grant));
    m_preferences.setData(destinationsKey, QJsonDocument(array).toJson(QJsonDocument::Compact));
}
