// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktopsearch/GnomeSearchProvider.h"

#include "desktopsearch/DesktopSearch.h"
#include "desktopsearch/DesktopSearchLog.h"
#include "desktopsearch/ResultActions.h"

#include <QDBusMetaType>

GnomeSearchProvider::GnomeSearchProvider(DesktopSearch &search, ResultActions &actions, QObject *parent)
    : QObject(parent)
    , m_search(search)
    , m_actions(actions)
{
    qDBusRegisterMetaType<QList<QVariantMap>>();
}

QStringList GnomeSearchProvider::GetInitialResultSet(const QStringList &terms)
{
    emit used();
    return m_search.find(terms);
}

QStringList GnomeSearchProvider::GetSubsearchResultSet(const QStringList &previousResults,
                                                       const QStringList &terms)
{
    emit used();
    return m_search.narrow(previousResults, terms);
}

QList<QVariantMap> GnomeSearchProvider::GetResultMetas(const QStringList &identifiers)
{
    emit used();
    QList<QVariantMap> metas;
    for (const DesktopResult &result : m_search.describe(identifiers)) {
        // 'gicon' is read with g_icon_new_for_string(): a path makes a file icon, which the shell
        // draws as the picture itself; a name, a theme icon.
        metas.append(QVariantMap{
            {QStringLiteral("id"), result.id},
            {QStringLiteral("name"), result.name},
            {QStringLiteral("description"), result.description},
            {QStringLiteral("gicon"), result.picturePath.isEmpty() ? result.iconName : result.picturePath}});
    }
    return metas;
}

void GnomeSearchProvider::ActivateResult(const QString &identifier, const QStringList &, uint)
{
    emit used();
    if (DesktopSearch::isOpenable(identifier))
        m_actions.open(identifier);
    else
        qCInfo(lcDesktopSearch) << "not opening" << identifier << "as it is no file";
}

void GnomeSearchProvider::LaunchSearch(const QStringList &, uint)
{
    // Quillo has no window of its own to carry the search on in.
    emit used();
}
