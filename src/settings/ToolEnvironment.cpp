// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ToolEnvironment.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>

// GLib names struct members "signals", which Qt defines as a keyword.
#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")
#include <cstring>
#include <libintl.h>
#include <memory>

namespace {

std::optional<QString> readGsetting(const QString &schemaId, const QString &key)
{
    GSettingsSchemaSource *source = g_settings_schema_source_get_default();
    if (!source)
        return std::nullopt;
    const QByteArray id = schemaId.toUtf8();
    const QByteArray name = key.toUtf8();
    // Looking a missing schema or key up through GSettings itself aborts the program.
    std::unique_ptr<GSettingsSchema, decltype(&g_settings_schema_unref)> schema(
        g_settings_schema_source_lookup(source, id.constData(), TRUE), &g_settings_schema_unref);
    if (!schema || !g_settings_schema_has_key(schema.get(), name.constData()))
        return std::nullopt;
    std::unique_ptr<GSettings, decltype(&g_object_unref)> settings(
        g_settings_new_full(schema.get(), nullptr, nullptr), &g_object_unref);
    std::unique_ptr<GVariant, decltype(&g_variant_unref)> value(
        g_settings_get_value(settings.get(), name.constData()), &g_variant_unref);
    if (!value || !g_variant_is_of_type(value.get(), G_VARIANT_TYPE_STRING))
        return std::nullopt;
    return QString::fromUtf8(g_variant_get_string(value.get(), nullptr));
}

QString translated(const char *domain, const char *message)
{
    // gettext keys a message with a context as "context\004message" and gives the key back untranslated.
    const char *text = dgettext(domain, message);
    const char *separator = strchr(text, '\004');
    return QString::fromUtf8(separator ? separator + 1 : text);
}

} // namespace

ToolEnvironment ToolEnvironment::system()
{
    ToolEnvironment environment;
    environment.home = QDir::homePath();
    environment.configHome = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QFile userDirsFile(environment.configHome + QStringLiteral("/user-dirs.dirs"));
    if (userDirsFile.open(QIODevice::ReadOnly))
        environment.userDirs = parseUserDirs(userDirsFile.read(64 * 1024), environment.home);
    environment.desktops = qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts);
    for (const char *name : {"GRIM_DEFAULT_DIR", "HYPRSHOT_DIR", "XDG_SCREENSHOTS_DIR", "XDG_PICTURES_DIR",
                             "KDE_SESSION_VERSION"}) {
        if (qEnvironmentVariableIsSet(name))
            environment.variables.insert(QString::fromLatin1(name), qEnvironmentVariable(name));
    }
    environment.isInstalled = [](const QString &program) {
        return !QStandardPaths::findExecutable(program).isEmpty();
    };
    environment.gsetting = &readGsetting;
    environment.translate = &translated;
    return environment;
}

QHash<QString, QString> ToolEnvironment::parseUserDirs(const QByteArray &contents, const QString &home)
{
    static const QRegularExpression line(QStringLiteral("^XDG_([A-Z]+)_DIR=\"([^\"]*)\"\\s*$"),
                                         QRegularExpression::MultilineOption);
    QHash<QString, QString> folders;
    for (const auto &match : line.globalMatch(QString::fromUtf8(contents))) {
        QString path = match.captured(2);
        if (path.startsWith(QLatin1String("$HOME")))
            path = home + path.mid(5);
        else if (!path.startsWith(u'/'))
            continue;
        folders.insert(match.captured(1), QDir::cleanPath(path));
    }
    return folders;
}

QString ToolEnvironment::picturesForQt() const
{
    return userDirs.value(QStringLiteral("PICTURES"), home + QStringLiteral("/Pictures"));
}

QString ToolEnvironment::picturesForGlib() const
{
    return userDirs.value(QStringLiteral("PICTURES"), home);
}

bool ToolEnvironment::isDesktop(const QString &name) const
{
    return desktops.contains(name, Qt::CaseInsensitive);
}
