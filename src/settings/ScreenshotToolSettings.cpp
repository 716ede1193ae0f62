// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ScreenshotToolSettings.h"

#include "core/CanonicalPath.h"
#include "settings/ForeignSettings.h"
#include "settings/NamePattern.h"
#include "settings/SettingsLog.h"
#include "settings/ToolEnvironment.h"
#include "settings/WatchedFolderRules.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <utility>

using NamePattern::Syntax;

namespace {

// Shown beside the folder in the settings window, translated there; the journal keeps it in English.
QString fallbackTool()
{
    return QString::fromLatin1(QT_TRANSLATE_NOOP("ScreenshotToolSettings", "default folder"));
}
// GNOME's tools name the date the same way, whatever the language.
const QString gnomeDate = QStringLiteral("%Y-%m-%d %H-%M-%S");

// A folder as a tool's setting holds it: a path, "~/…", or a file URL ("file:/…" too). Nothing
// unless it is an absolute path.
std::optional<QString> folderFrom(std::optional<QString> raw, const ToolEnvironment &environment)
{
    if (!raw)
        return std::nullopt;
    QString path = raw->trimmed();
    if (path.startsWith(u"file:"))
        path = QUrl(path).toLocalFile();
    if (path == u"~")
        path = environment.home;
    else if (path.startsWith(u"~/"))
        path = environment.home + path.mid(1);
    if (!path.startsWith(u'/'))
        return std::nullopt;
    return QDir::cleanPath(path);
}

// Logged once per folder: the tools' settings are read again at every change in the settings folder.
void logRefusal(const QString &folder, const QString &reason)
{
    static QSet<QString> refused;
    if (!refused.contains(folder)) {
        refused.insert(folder);
        qCWarning(lcSettings).noquote() << QStringLiteral("Not watching %1: %2").arg(folder, reason);
    }
}

// Whether a tool's folder may be watched. A tool that saves into the home folder (ksnip, scrot) is
// followed there, but into no system folder.
bool mayWatch(const QString &folder)
{
    const auto refusal = WatchedFolderRules::refusal(folder, true);
    if (refusal)
        logRefusal(folder, *refusal);
    return !refusal;
}

// The folder the tool uses: its setting when that is an existing folder Quillo may watch, else its
// default.
QString chosenFolder(const std::optional<QString> &configured, const QString &fallback, bool *isConfigured)
{
    *isConfigured = configured && QFileInfo(*configured).isDir() && mayWatch(*configured);
    return *isConfigured ? *configured : fallback;
}

// The first value that is there.
std::optional<QString> firstOf(std::initializer_list<std::optional<QString>> values)
{
    for (const auto &value : values) {
        if (value)
            return value;
    }
    return std::nullopt;
}

std::optional<ForeignSettings> toolSettings(const ToolEnvironment &environment, const char *relative)
{
    return ForeignSettings::open(environment.configHome + u'/' + QLatin1StringView(relative));
}

class Finder
{
public:
    explicit Finder(const ToolEnvironment &environment)
        : m_environment(environment)
    {}

    QList<ScreenshotSource> find()
    {
        spectacle();
        flameshot();
        ksnip();
        xfce();
        gnomeScreenshot();
        mate();
        gnomeShell();
        wayland();
        if (installed("scrot"))
            add(QStringLiteral("scrot"), std::nullopt, home(),
                {NamePattern::fromExpression(QStringLiteral("\\d{4}-\\d{2}-\\d{2}-\\d{6}_\\d+x\\d+_scrot"))});
        // Configured folders first: a folder the user chose in a tool says most about where they look.
        std::stable_partition(m_found.begin(), m_found.end(), [](const ScreenshotSource &source) {
            return source.isConfigured;
        });
        return m_found;
    }

private:
    bool installed(const char *program) const
    {
        return m_environment.isInstalled(QString::fromLatin1(program));
    }
    const QString &home() const { return m_environment.home; }
    QString toolText(const char *domain, const char *message) const
    {
        return m_environment.translate(domain, message);
    }
    std::optional<QString> variable(const char *name) const
    {
        const QString value = m_environment.variables.value(QString::fromLatin1(name));
        return value.isEmpty() ? std::nullopt : std::optional(value);
    }

    void add(const QString &tool, const std::optional<QString> &configured, const QString &fallback,
             const QStringList &patterns)
    {
        bool isConfigured = false;
        const QString folder = chosenFolder(folderFrom(configured, m_environment), fallback, &isConfigured);
        m_found.append({tool, folder, patterns, isConfigured});
    }

    void spectacle()
    {
        const auto settings = toolSettings(m_environment, "spectaclerc");
        if (!settings && !installed("spectacle"))
            return;
        const auto value = [&](const char *group, const char *key) {
            return settings ? settings->stringValue(QString::fromLatin1(group), QString::fromLatin1(key))
                            : std::nullopt;
        };
        // Plasma 6 keeps [ImageSave] with <tags>; Plasma 5 [Save] (older: [General]) with %-fields.
        const auto location =
            firstOf({value("ImageSave", "imageSaveLocation"), value("Save", "defaultSaveLocation"),
                     value("General", "default-save-location")});
        QStringList patterns;
        if (const auto tags = value("ImageSave", "imageFilenameTemplate"))
            patterns.append(NamePattern::fromTemplate(*tags, Syntax::SpectacleTags));
        else if (const auto classic =
                     firstOf({value("Save", "saveFilenameFormat"), value("General", "save-filename-format")}))
            patterns.append(NamePattern::fromTemplate(*classic, Syntax::SpectacleClassic));
        const QString prefix = toolText("spectacle", "part of default image filename template\004Screenshot");
        for (const QString &word : QSet<QString>{QStringLiteral("Screenshot"), prefix})
            patterns.append(NamePattern::fromTemplate(word + QStringLiteral("_<yyyy><MM><dd>_<HH><mm><ss>"),
                                                      Syntax::SpectacleTags));
        const QString pictures = m_environment.picturesForQt();
        const QString version = m_environment.variables.value(QStringLiteral("KDE_SESSION_VERSION"));
        if (version != u"6")
            add(QStringLiteral("Spectacle"), location, pictures, patterns);
        if (version != u"5") {
            const QString folder = toolText("spectacle", "translatable folder name\004Screenshots");
            add(QStringLiteral("Spectacle"), location, pictures + u'/' + folder, patterns);
        }
    }

    void flameshot()
    {
        const auto settings = toolSettings(m_environment, "flameshot/flameshot.ini");
        if (!settings && !installed("flameshot"))
            return;
        const auto value = [&](const char *key) {
            return settings ? settings->stringValue(QStringLiteral("General"), QString::fromLatin1(key))
                            : std::nullopt;
        };
        const QString pattern = value("filenamePattern").value_or(QStringLiteral("%F_%H-%M"));
        add(QStringLiteral("Flameshot"), value("savePath"), m_environment.picturesForQt(),
            {NamePattern::fromTemplate(pattern, Syntax::Strftime)});
    }

    void ksnip()
    {
        const auto settings = toolSettings(m_environment, "ksnip/ksnip.conf");
        if (!settings && !installed("ksnip"))
            return;
        const auto value = [&](const char *key) {
            return settings ? settings->stringValue(QStringLiteral("Application"), QString::fromLatin1(key))
                            : std::nullopt;
        };
        const QString name = value("SaveFilename").value_or(QStringLiteral("ksnip_$Y$M$D-$T"));
        add(QStringLiteral("ksnip"), value("SaveDirectory"), home(),
            {NamePattern::fromTemplate(name, Syntax::Ksnip)});
    }

    void xfce()
    {
        const auto settings = toolSettings(m_environment, "xfce4/xfce4-screenshooter");
        if (!settings && !installed("xfce4-screenshooter"))
            return;
        const auto value = [&](const char *key) {
            return settings ? settings->stringValue(QString(), QString::fromLatin1(key)) : std::nullopt;
        };
        const QString title = value("title").value_or(toolText("xfce4-screenshooter", "Screenshot"));
        const bool dated = value("timestamp").value_or(QStringLiteral("true")) != u"false";
        const QString name = dated ? title + QStringLiteral("_%Y-%m-%d_%H-%M-%S") : title;
        add(QStringLiteral("xfce4-screenshooter"), value("screenshot_dir"), m_environment.picturesForGlib(),
            {NamePattern::fromTemplate(name, Syntax::Strftime)});
    }

    void gnomeScreenshot()
    {
        // Cinnamon's Print Screen key runs gnome-screenshot.
        if (!installed("gnome-screenshot") && !m_environment.isDesktop(QStringLiteral("X-Cinnamon")))
            return;
        const auto configured = m_environment.gsetting(QStringLiteral("org.gnome.gnome-screenshot"),
                                                       QStringLiteral("auto-save-directory"));
        add(QStringLiteral("gnome-screenshot"), configured, m_environment.picturesForGlib(),
            messagePatterns("gnome-screenshot", {"Screenshot from %s.%s"}, gnomeDate));
    }

    void mate()
    {
        if (!installed("mate-screenshot"))
            return;
        const auto configured = m_environment.gsetting(QStringLiteral("org.mate.screenshot"),
                                                       QStringLiteral("last-save-directory"));
        const QString desktop =
            m_environment.userDirs.value(QStringLiteral("DESKTOP"), home() + QStringLiteral("/Desktop"));
        add(QStringLiteral("MATE Screenshot"), configured, desktop,
            messagePatterns("mate-utils", {"Screenshot at %s.png"},
                            toolText("mate-utils", "%Y-%m-%d %H-%M-%S")));
    }

    void gnomeShell()
    {
        if (!m_environment.isDesktop(QStringLiteral("GNOME")))
            return;
        // Shell 42 to 47 say "from", later ones "From"; the folder's name is translated too.
        add(QStringLiteral("GNOME Shell"), std::nullopt,
            m_environment.picturesForGlib() + u'/' + toolText("gnome-shell", "Screenshots"),
            messagePatterns("gnome-shell", {"Screenshot from %s", "Screenshot From %s"}, gnomeDate));
    }

    void wayland()
    {
        const auto pictures = variable("XDG_PICTURES_DIR").value_or(m_environment.picturesForGlib());
        if (installed("grimshot")) {
            // grimshot reads user-dirs.dirs, so its folder may be named there too.
            const QString named = m_environment.userDirs.value(QStringLiteral("SCREENSHOTS"));
            const auto folder = firstOf(
                {variable("XDG_SCREENSHOTS_DIR"), named.isEmpty() ? std::nullopt : std::optional(named)});
            add(QStringLiteral("grimshot"), folder, pictures,
                {NamePattern::fromExpression(
                    QStringLiteral("\\d{4}-\\d{2}-\\d{2}T\\d{2}:\\d{2}:\\d{2},\\d{9}[+-]\\d{2}:\\d{2}"))});
        }
        if (installed("grim"))
            add(QStringLiteral("grim"), variable("GRIM_DEFAULT_DIR"), m_environment.picturesForGlib(),
                {NamePattern::fromExpression(QStringLiteral("\\d{8}_\\d{2}h\\d{2}m\\d{2}s_grim"))});
        if (installed("hyprshot"))
            add(QStringLiteral("hyprshot"), variable("HYPRSHOT_DIR"), pictures,
                {NamePattern::fromExpression(QStringLiteral("\\d{4}-\\d{2}-\\d{2}-\\d{6}_hyprshot"))});
    }

    // The English message and its translation in the user's language, when the tool has one.
    QStringList messagePatterns(const char *domain, std::initializer_list<const char *> messages,
                                const QString &dateFormat) const
    {
        QStringList patterns;
        for (const char *message : messages) {
            for (const QString &text : {QString::fromUtf8(message), toolText(domain, message)}) {
                const QString pattern = NamePattern::fromMessage(text, dateFormat);
                if (!patterns.contains(pattern))
                    patterns.append(pattern);
            }
        }
        return patterns;
    }

    const ToolEnvironment &m_environment;
    QList<ScreenshotSource> m_found;
};

// GNOME creates its folder only with the first capture, so Quillo creates it to watch it from the start.
QString fallbackFolder(const ToolEnvironment &environment)
{
    const QString folder = environment.picturesForQt() + QStringLiteral("/Screenshots");
    if (QFileInfo(folder).isDir() || QDir().mkpath(folder))
        return folder;
    qCWarning(lcSettings).noquote()
        << QStringLiteral("Could not create %1; watching the desktop folder instead").arg(folder);
    return environment.userDirs.value(QStringLiteral("DESKTOP"),
                                      environment.home + QStringLiteral("/Desktop"));
}

void merge(QList<WatchedFolder> &folders, const ScreenshotSource &source)
{
    const QString key = canonicalPath(source.folder);
    for (WatchedFolder &folder : folders) {
        if (canonicalPath(folder.path) != key)
            continue;
        if (!folder.tools.contains(source.tool))
            folder.tools.append(source.tool);
        for (const QString &pattern : source.namePatterns) {
            if (!folder.namePatterns.contains(pattern))
                folder.namePatterns.append(pattern);
        }
        return;
    }
    folders.append({source.folder, {source.tool}, source.namePatterns, false});
}

} // namespace

namespace ScreenshotToolSettings {

QList<ScreenshotSource> sources(const ToolEnvironment &environment)
{
    return Finder(environment).find();
}

QList<WatchedFolder> watchedFolders(const ToolEnvironment &environment)
{
    QList<WatchedFolder> folders;
    for (const ScreenshotSource &source : sources(environment)) {
        if (QFileInfo(source.folder).isDir() && (source.isConfigured || mayWatch(source.folder)))
            merge(folders, source);
    }
    merge(folders, {fallbackTool(), fallbackFolder(environment), {}, false});
    return folders;
}

QStringList allNamePatterns(const ToolEnvironment &environment)
{
    QStringList patterns;
    for (const ScreenshotSource &source : sources(environment)) {
        for (const QString &pattern : source.namePatterns) {
            if (!patterns.contains(pattern))
                patterns.append(pattern);
        }
    }
    return patterns;
}

bool foundNoTool(const QList<WatchedFolder> &folders)
{
    return folders.size() == 1 && folders.first().tools == QStringList{fallbackTool()};
}

} // namespace ScreenshotToolSettings
