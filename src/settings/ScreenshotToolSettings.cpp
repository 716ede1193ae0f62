#include "settings/ScreenshotToolSettings.h"

#include "settings/ForeignSettings.h"
#include "settings/SettingsLog.h"
#include "settings/WatchedFolderRules.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

#include <utility>

namespace {

struct ToolSettings
{
    std::optional<QString> location;
    std::optional<QString> nameTemplate;
};

QString configPath(const QString &relative)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' + relative;
}

std::optional<QString> firstValue(const ForeignSettings &settings,
                                  std::initializer_list<std::pair<const char *, const char *>> keys)
{
    for (const auto &[group, key] : keys) {
        if (auto value = settings.stringValue(QString::fromLatin1(group), QString::fromLatin1(key)))
            return value;
    }
    return std::nullopt;
}

ToolSettings spectacle()
{
    const auto settings = ForeignSettings::open(configPath(QStringLiteral("spectaclerc")));
    if (!settings)
        return {};
    return {settings->stringValue(QStringLiteral("ImageSave"), QStringLiteral("imageSaveLocation")),
            firstValue(*settings, {{"ImageSave", "imageFilenameTemplate"},
                                   {"ImageSave", "saveFilenameFormat"},
                                   {"General", "saveFilenameFormat"}})};
}

ToolSettings flameshot()
{
    const auto settings = ForeignSettings::open(configPath(QStringLiteral("flameshot/flameshot.ini")));
    if (!settings)
        return {};
    return {settings->stringValue(QStringLiteral("General"), QStringLiteral("savePath")),
            settings->stringValue(QStringLiteral("General"), QStringLiteral("filenamePattern"))};
}

// The first tool whose settings name a folder; with none, the first that names a file-name template.
// A template alone must not hide another tool's folder.
ToolSettings activeTool()
{
    const ToolSettings tools[] = {spectacle(), flameshot()};
    for (const ToolSettings &tool : tools) {
        if (tool.location)
            return tool;
    }
    for (const ToolSettings &tool : tools) {
        if (tool.nameTemplate)
            return tool;
    }
    return {};
}

QString gnomeScreenshotFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::PicturesLocation) +
           QStringLiteral("/Screenshots");
}

// GNOME creates its folder only with the first capture, so Quillo creates it to watch it from the start.
QString fallbackFolder()
{
    const QString folder = gnomeScreenshotFolder();
    if (QFileInfo(folder).isDir() || QDir().mkpath(folder))
        return folder;
    qCWarning(lcSettings).noquote()
        << QStringLiteral("Could not create %1; watching the desktop folder instead").arg(folder);
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

// Logged once per folder: the tool's settings are read again at every change in the settings folder.
void logRefusal(const QString &folder, const QString &reason)
{
    static QString lastRefused;
    if (std::exchange(lastRefused, folder) != folder)
        qCWarning(lcSettings).noquote()
            << QStringLiteral("Not watching the screenshot tool's folder: %1").arg(reason);
}

QString expandTilde(const QString &path)
{
    if (path == u"~")
        return QDir::homePath();
    if (path.startsWith(u"~/"))
        return QDir::homePath() + u'/' + path.mid(2);
    return path;
}

} // namespace

namespace ScreenshotToolSettings {

std::optional<QString> rawLocation()
{
    if (auto location = activeTool().location)
        return location;
    if (QFileInfo(gnomeScreenshotFolder()).isDir())
        return gnomeScreenshotFolder();
    return std::nullopt;
}

std::optional<QString> customNamePrefix()
{
    const auto nameTemplate = activeTool().nameTemplate;
    return nameTemplate ? prefixOfTemplate(*nameTemplate) : std::nullopt;
}

QString systemFolder()
{
    const auto raw = rawLocation();
    if (!raw)
        return fallbackFolder();
    QString path = raw->trimmed();
    if (path.startsWith(u"file:"))
        path = QUrl(path).toLocalFile();
    path = expandTilde(path);
    if (path.isEmpty() || !path.startsWith(u'/'))
        return fallbackFolder();
    path = QDir::cleanPath(path);
    if (!QFileInfo(path).isDir())
        return fallbackFolder();
    if (const auto refusal = WatchedFolderRules::refusal(path, false)) {
        logRefusal(path, *refusal);
        return fallbackFolder();
    }
    return path;
}

std::optional<QString> prefixOfTemplate(const QString &nameTemplate)
{
    qsizetype end = 0;
    while (end < nameTemplate.size() && nameTemplate[end] != u'%' && nameTemplate[end] != u'<')
        ++end;
    QString prefix = nameTemplate.left(end);
    if (prefix.endsWith(u' ') || prefix.endsWith(u'_') || prefix.endsWith(u'-'))
        prefix.chop(1);
    if (prefix.isEmpty())
        return std::nullopt;
    return prefix;
}

} // namespace ScreenshotToolSettings
