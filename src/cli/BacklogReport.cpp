// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/BacklogReport.h"

#include "core/TextScanning.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <iterator>

namespace {

using Result = BacklogReport::Result;
using TextScanning::escapedPath;

// Exit status of a command ended by SIGINT, as shells report it.
constexpr int stoppedStatus = 130;

QString resultName(Result result)
{
    static const char *const names[] = {"renamed",      "wouldRename", "indexed",
                                        "alreadyNamed", "failed",      "notScreenshot"};
    return QString::fromLatin1(names[int(result)]);
}

QByteArray jsonLine(const BacklogReport::Entry &entry)
{
    QJsonObject object{{QStringLiteral("file"), entry.file},
                       {QStringLiteral("result"), resultName(entry.result)}};
    if (!entry.renamedPath.isEmpty())
        object.insert(QStringLiteral("renamedPath"), entry.renamedPath);
    if (!entry.id.isNull())
        object.insert(QStringLiteral("id"), entry.id.toString(QUuid::WithoutBraces).toUpper());
    if (!entry.error.isEmpty())
        object.insert(QStringLiteral("error"), entry.error);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QString plainLine(const BacklogReport::Entry &entry)
{
    const QString target = QDir(QFileInfo(entry.file).absolutePath()).relativeFilePath(entry.renamedPath);
    switch (entry.result) {
    case Result::Renamed:
        return escapedPath(entry.file) + QStringLiteral(" \u2192 ") + escapedPath(target);
    case Result::WouldRename:
        return QCoreApplication::translate("BacklogReport", "would rename %1 \u2192 %2")
            .arg(escapedPath(entry.file), escapedPath(target));
    case Result::Indexed:
        return QCoreApplication::translate("BacklogReport", "indexed %1").arg(escapedPath(entry.file));
    case Result::AlreadyNamed:
        return QCoreApplication::translate("BacklogReport", "skipped %1: already named by Quillo")
            .arg(escapedPath(entry.file));
    case Result::Failed:
        return QStringLiteral("quillo: ") + escapedPath(entry.file) + QStringLiteral(": ") + entry.error;
    case Result::NotScreenshot:
        break;
    }
    return {};
}

} // namespace

std::optional<BacklogReport::Line> BacklogReport::add(const Entry &entry)
{
    ++m_counts[int(entry.result)];
    if (entry.result == Result::NotScreenshot)
        return std::nullopt;
    if (m_json)
        return Line{jsonLine(entry), false};
    return Line{plainLine(entry).toUtf8(), entry.result == Result::Failed};
}

QString BacklogReport::summary(int notStarted) const
{
    static const char *const phrases[] = {QT_TRANSLATE_N_NOOP("BacklogReport", "%n renamed"),
                                          QT_TRANSLATE_N_NOOP("BacklogReport", "%n would be renamed"),
                                          QT_TRANSLATE_N_NOOP("BacklogReport", "%n indexed"),
                                          QT_TRANSLATE_N_NOOP("BacklogReport", "%n already named"),
                                          QT_TRANSLATE_N_NOOP("BacklogReport", "%n failed"),
                                          QT_TRANSLATE_N_NOOP("BacklogReport", "%n not screenshots")};
    QStringList parts;
    for (int i = 0; i < int(std::size(m_counts)); ++i) {
        if (m_counts[i] > 0)
            parts.append(QCoreApplication::translate("BacklogReport", phrases[i], nullptr, m_counts[i]));
    }
    if (notStarted > 0)
        parts.append(QCoreApplication::translate("BacklogReport", "%n left as they were (stopped)", nullptr,
                                                 notStarted));
    return parts.isEmpty() ? QCoreApplication::translate("BacklogReport", "no files found")
                           : parts.join(QCoreApplication::translate("BacklogReport", ", "));
}

int BacklogReport::exitStatus(bool stopped) const
{
    if (stopped)
        return stoppedStatus;
    return m_counts[int(Result::Failed)] > 0 ? 1 : 0;
}
