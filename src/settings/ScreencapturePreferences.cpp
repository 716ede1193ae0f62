#include "settings/ScreencapturePreferences.h"

#include "settings/ForeignSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

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

// The first tool whose settings name a folder or a file-name template.
ToolSettings activeTool()
{
    for (auto read : {spectacle, flameshot}) {
        ToolSettings tool = read();
        if (tool.location || tool.nameTemplate)
            return tool;
    }
    return {};
}

QString gnomeScreenshotFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::PicturesLocation) +
           QStringLiteral("/Screenshots");
}

QString desktopFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
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

namespace ScreencapturePreferences {

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
        return desktopFolder();
    QString path = raw->trimmed();
    if (path.startsWith(u"file:"))
        path = QUrl(path).toLocalFile();
    path = expandTilde(path);
    if (path.isEmpty() || !path.startsWith(u'/'))
        return desktopFolder();
    path = QDir::cleanPath(path);
    return QFileInfo(path).isDir() ? path : desktopFolder();
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

} // namespace ScreencapturePreferences
