// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SettingsPresentation.h"

#include "core/NetworkAddress.h"
#include "renaming/FilenameFormatter.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QLocale>
#include <QTimeZone>
#include <QUrl>

namespace SettingsPresentation {

QString watchedFolderText(const std::optional<QString> &folder, const QString &homePath)
{
    if (!folder)
        return QCoreApplication::translate("SettingsPresentation", "Not watching");
    const QString home = QDir::cleanPath(homePath);
    const QString path = QDir::cleanPath(*folder);
    if (path == home)
        return QStringLiteral("~");
    if (home != QLatin1String("/") && path.startsWith(home + u'/'))
        return u'~' + path.mid(home.size());
    return path;
}

QString folderSourceText(const QList<WatchedFolder> &folders, bool hasCustomFolder, bool isSandboxed,
                         const QString &homePath)
{
    if (hasCustomFolder)
        return QCoreApplication::translate("SettingsPresentation", "A custom folder you chose.");
    if (!isSandboxed && ScreenshotToolSettings::foundNoTool(folders))
        return QCoreApplication::translate(
            "SettingsPresentation",
            "No screenshot tool's settings were found, so Quillo watches this folder, where "
            "GNOME and KDE save screenshots. If yours go elsewhere, choose that folder.");
    if (!isSandboxed) {
        QStringList lines;
        for (const WatchedFolder &folder : folders) {
            // Tools go by their own names; only "default folder" has a translation.
            QStringList tools;
            for (const QString &tool : folder.tools)
                tools.append(
                    QCoreApplication::translate("ScreenshotToolSettings", tool.toUtf8().constData()));
            lines.append(tools.isEmpty()
                             ? watchedFolderText(folder.path, homePath)
                             : QStringLiteral("%1 (%2)").arg(watchedFolderText(folder.path, homePath),
                                                             tools.join(QStringLiteral(", "))));
        }
        lines.append(QCoreApplication::translate(
            "SettingsPresentation",
            "Where your screenshot tool saves screenshots, read from its settings (Spectacle, "
            "Flameshot, or your Pictures/Screenshots folder). Change it there and Quillo "
            "follows."));
        return lines.join(u'\n');
    }
    return QCoreApplication::translate(
        "SettingsPresentation",
        "Your screenshot folder, where your desktop saves screenshots unless you changed it. "
        "If you save screenshots somewhere else, choose that folder.");
}

QString exampleFileName(bool appendDateSuffix, const QDateTime &now, const QTimeZone &zone)
{
    QString baseName = QStringLiteral("stripe-invoice-paid");
    if (appendDateSuffix)
        baseName += u'-' + FilenameFormatter::dateSuffix(now, zone);
    return FilenameFormatter::filename(baseName, QStringLiteral("png"));
}

ModelServerCheck checkModelServer(const QString &typed)
{
    const QString text = typed.trimmed();
    const QUrl url(text, QUrl::StrictMode);
    if (text.isEmpty() || !url.isValid() || url.host().isEmpty())
        return {std::nullopt,
                QCoreApplication::translate("SettingsPresentation",
                                            "Type the server's address, such as http://127.0.0.1:11434.")};
    if (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https"))
        return {std::nullopt,
                QCoreApplication::translate("SettingsPresentation",
                                            "The address must start with http:// or https://.")};
    return {text, {}};
}

std::optional<QString> modelNameProblem(const QString &typed)
{
    if (typed.trimmed().isEmpty())
        return QCoreApplication::translate("SettingsPresentation",
                                           "Type the name of a model the server has, such as gemma3:4b.");
    return std::nullopt;
}

std::optional<QString> folderNameProblem(const QString &typed)
{
    if (typed.contains(u'/') || typed.contains(u':'))
        return QCoreApplication::translate("SettingsPresentation",
                                           "A folder name cannot contain “/” or “:”.");
    if (typed.trimmed().startsWith(u'.'))
        return QCoreApplication::translate("SettingsPresentation", "A folder name cannot start with a dot.");
    return std::nullopt;
}

std::optional<QString> remoteModelWarning(bool useLocalModel, const QString &modelServerUrl)
{
    const QUrl url(modelServerUrl);
    if (!useLocalModel || url.host().isEmpty() || NetworkAddress::isLoopback(url))
        return std::nullopt;
    return QCoreApplication::translate("SettingsPresentation", "Screenshots are sent to %1 to be named.")
        .arg(url.host());
}

QString privacyNote(bool useLocalModel, const QString &modelServerUrl)
{
    return remoteModelWarning(useLocalModel, modelServerUrl)
        .value_or(QCoreApplication::translate(
            "SettingsPresentation", "Screenshots are read and named on this computer. Nothing is uploaded."));
}

RoutingConfiguration withRule(RoutingConfiguration routing, const CategoryRule &rule)
{
    for (CategoryRule &existing : routing.rules)
        if (existing.category == rule.category)
            existing = rule;
    return routing;
}

QString searchIndexText(const ScreenshotIndex::Size &size)
{
    if (size.count <= 0)
        return QCoreApplication::translate("SettingsPresentation", "No screenshots are indexed.");
    const QString bytes = QLocale().formattedDataSize(size.bytes, 1, QLocale::DataSizeTraditionalFormat);
    // English without a translation has no plural forms.
    if (size.count == 1)
        return QCoreApplication::translate("SettingsPresentation", "1 screenshot, %1").arg(bytes);
    return QCoreApplication::translate("SettingsPresentation", "%Ln screenshots, %1", nullptr,
                                       int(size.count))
        .arg(bytes);
}

bool canClearSearchIndex(const ScreenshotIndex::Size &size)
{
    return size.count > 0;
}

QString versionText(const QString &version, const QString &build)
{
    if (version.isEmpty())
        return QCoreApplication::translate("SettingsPresentation", "Quillo");
    if (build.isEmpty())
        return QCoreApplication::translate("SettingsPresentation", "Quillo %1").arg(version);
    return QCoreApplication::translate("SettingsPresentation", "Quillo %1 (%2)").arg(version, build);
}

QString updatesNote(const QString &host, bool installsAtQuit)
{
    if (installsAtQuit)
        return QCoreApplication::translate(
                   "SettingsPresentation",
                   "Quillo checks %1 once a day, downloads updates in the background and installs "
                   "them when you quit. Every update is verified before it installs.")
            .arg(host);
    return QCoreApplication::translate(
               "SettingsPresentation",
               "Quillo checks %1 once a day and downloads updates in the background. Every update "
               "is verified before it is offered.")
        .arg(host);
}

} // namespace SettingsPresentation
