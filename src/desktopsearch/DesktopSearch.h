// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "index/ScreenshotIndex.h"

#include <QHash>
#include <QImage>
#include <QStringList>

#include <memory>

// One screenshot as the desktop's search lists it.
struct DesktopResult
{
    QString id;          // the file's absolute path
    QString name;        // its file name
    QString description; // when it was taken, its category and the words around the match
    QString iconName;    // the theme icon of its file type
    // A picture to show for it: the desktop's cached thumbnail when there is a fresh one, else the
    // file itself when any desktop can draw it, else nothing.
    QString picturePath;
    QImage thumbnail; // the cached thumbnail, null without one

    friend bool operator==(const DesktopResult &, const DesktopResult &) = default;
};

// Turns what the index finds into results for the desktop's search. It only reads: without an
// index file it finds nothing and creates none. Not thread-safe; main thread.
class DesktopSearch final
{
public:
    static constexpr int maxResults = 20;
    // Shorter queries match too much to be of use among a desktop's other results.
    static constexpr int minQueryLength = 3;

    explicit DesktopSearch(QString indexPath);
    ~DesktopSearch();

    // The ids of the screenshots showing every one of the terms, best first.
    QStringList find(const QStringList &terms);
    // As find(), keeping only ids among `previous`.
    QStringList narrow(const QStringList &previous, const QStringList &terms);
    // What to show for each id that names an existing file, in the same order.
    QList<DesktopResult> describe(const QStringList &ids);
    // Whether `id` is one to act on: an existing file, by absolute path.
    static bool isOpenable(const QString &id);

    // The snippet without its match marks, on one line.
    static QString plainSnippet(const QString &snippet);

private:
    QString m_indexPath;
    std::unique_ptr<ScreenshotIndex> m_index;
    QHash<QString, SearchHit> m_found;
};
