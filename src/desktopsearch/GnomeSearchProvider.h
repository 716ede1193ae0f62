// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>
#include <QVariantMap>

class DesktopSearch;
class ResultActions;

// The results of the GNOME Shell overview's search (org.gnome.Shell.SearchProvider2). Choosing one
// opens the screenshot. Main thread.
class GnomeSearchProvider final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.gnome.Shell.SearchProvider2")

public:
    GnomeSearchProvider(DesktopSearch &search, ResultActions &actions, QObject *parent = nullptr);

signals:
    // Any method was called; the service stays up while it is in use.
    void used();

public slots:
    Q_SCRIPTABLE QStringList GetInitialResultSet(const QStringList &terms);
    Q_SCRIPTABLE QStringList GetSubsearchResultSet(const QStringList &previousResults,
                                                   const QStringList &terms);
    Q_SCRIPTABLE QList<QVariantMap> GetResultMetas(const QStringList &identifiers);
    Q_SCRIPTABLE void ActivateResult(const QString &identifier, const QStringList &terms, uint timestamp);
    Q_SCRIPTABLE void LaunchSearch(const QStringList &terms, uint timestamp);

private:
    DesktopSearch &m_search;
    ResultActions &m_actions;
};
