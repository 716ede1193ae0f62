// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/SearchCommand.h"

#include "cli/CommandLine.h"
#include "core/TextScanning.h"
#include "index/ScreenshotIndex.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <unistd.h>

namespace {

// The snippet for the output: markers become bold on a terminal and go elsewhere; control
// characters read off an image never reach the terminal.
QString shownSnippet(const QString &snippet, bool bold)
{
    QString shown;
    for (const QChar c : snippet) {
        if (c == ScreenshotIndex::markBegin)
            shown += bold ? QStringLiteral("\x1b[1m") : QString();
        else if (c == ScreenshotIndex::markEnd)
            shown += bold ? QStringLiteral("\x1b[0m") : QString();
        else
            shown += c.category() == QChar::Other_Control ? QChar(u' ') : c;
    }
    return shown;
}

QByteArray jsonLine(const SearchHit &hit)
{
    const QJsonObject object{{QStringLiteral("path"), hit.path},
                             {QStringLiteral("date"), hit.takenAt.toString(Qt::ISODate)},
                             {QStringLiteral("category"), hit.category},
                             {QStringLiteral("snippet"), shownSnippet(hit.snippet, false)}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QByteArray plainLines(const SearchHit &hit, bool bold)
{
    const QString heading =
        TextScanning::escapedPath(hit.path) + QStringLiteral("  ") +
        hit.takenAt.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")) + // not for people: ISO date
        (hit.category.isEmpty() ? QString() : QStringLiteral("  ") + hit.category);
    return (heading + QStringLiteral("\n    ") + shownSnippet(hit.snippet, bold)).toUtf8();
}

void say(const QString &message)
{
    const QString line = QCoreApplication::translate("SearchCommand", "quillo: %1").arg(message);
    std::fprintf(stderr, "%s\n", line.toUtf8().constData());
}

} // namespace

namespace SearchCommand {

int run(const CommandRequest &request)
{
    QStringList words;
    for (const QByteArray &word : request.paths)
        words.append(QString::fromLocal8Bit(word));
    const QString query = words.join(u' ');
    if (ScreenshotIndex::matchExpression(query).isEmpty()) {
        say(QCoreApplication::translate("SearchCommand", "search needs a word with a letter or digit in it"));
        return 2;
    }
    ScreenshotIndex index(ScreenshotIndex::defaultPath());
    const ScreenshotIndex::Found found = index.search(query, request.limit);
    if (!found.error.isEmpty()) {
        say(found.error);
        return 1;
    }
    const bool bold = ::isatty(STDOUT_FILENO);
    for (const SearchHit &hit : found.hits)
        std::printf("%s\n", (request.json ? jsonLine(hit) : plainLines(hit, bold)).constData());
    if (found.hits.isEmpty() && !request.json)
        say(QCoreApplication::translate("SearchCommand",
                                        "no screenshot in the index shows all of these words"));
    return 0;
}

} // namespace SearchCommand
