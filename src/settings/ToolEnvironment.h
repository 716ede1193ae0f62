// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// What the screenshot tools' own settings and defaults are read from: the user's folders, the
// session's variables, the programs installed, the desktop's settings database (GSettings) and the
// tools' translations. system() reads this computer; a test builds its own. Main thread only.
struct ToolEnvironment
{
    QString home;
    QString configHome; // $XDG_CONFIG_HOME
    // The user's folders as user-dirs.dirs names them ("PICTURES", "DESKTOP", "SCREENSHOTS"), as
    // GLib reads them: a folder the file does not name is absent.
    QHash<QString, QString> userDirs;
    QStringList desktops; // $XDG_CURRENT_DESKTOP
    // The few variables tools read: GRIM_DEFAULT_DIR, HYPRSHOT_DIR, XDG_SCREENSHOTS_DIR, XDG_PICTURES_DIR,
    // KDE_SESSION_VERSION.
    QHash<QString, QString> variables;
    std::function<bool(const QString &program)> isInstalled;
    // A string key of a GSettings schema; nothing when the schema or key is not installed.
    std::function<std::optional<QString>(const QString &schema, const QString &key)> gsetting;
    // A tool's own translation of one of its messages (gettext domain), the message itself without one.
    std::function<QString(const char *domain, const char *message)> translate;

    static ToolEnvironment system();
    // The XDG_<NAME>_DIR lines of a user-dirs.dirs file: "$HOME/…" or absolute paths.
    static QHash<QString, QString> parseUserDirs(const QByteArray &contents, const QString &home);

    // Pictures as Qt programs see it: the user's folder, else ~/Pictures.
    QString picturesForQt() const;
    // Pictures as GLib programs see it, else the home folder (which those programs then use).
    QString picturesForGlib() const;
    bool isDesktop(const QString &name) const;
};
