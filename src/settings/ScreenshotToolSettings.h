// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct ToolEnvironment;

// A folder a screenshot tool saves into, and regular expressions for the names it gives there
// (see NamePattern).
struct ScreenshotSource
{
    QString tool; // as the settings window names it
    QString folder;
    QStringList namePatterns;
    bool isConfigured = false; // the folder is the tool's own setting, not its default

    friend bool operator==(const ScreenshotSource &, const ScreenshotSource &) = default;
};

// A folder Quillo watches: the tools that save there and the names they give.
struct WatchedFolder
{
    QString path;
    QStringList tools;
    QStringList namePatterns;
    bool isCustom = false; // the user's choice, which replaces every tool's folder

    friend bool operator==(const WatchedFolder &, const WatchedFolder &) = default;
};

// Where the screenshot tools on this computer save captures and what they name them, read afresh
// from each tool's own settings (or its defaults) on every call: the desktop's own tool and every
// third-party tool that is installed or configured. Main thread only.
namespace ScreenshotToolSettings {

QList<ScreenshotSource> sources(const ToolEnvironment &environment);

// The folders to watch when the user chose none, the first being the one the tray opens: each tool's
// folder that exists and may be watched, tools with a folder of their own setting first, then
// Pictures/Screenshots, created when missing (the desktop folder when it cannot be). Folders shared
// by several tools are listed once, with all their names.
QList<WatchedFolder> watchedFolders(const ToolEnvironment &environment);

// The names of every tool found, for a folder the user chose and for files given on the command line.
QStringList allNamePatterns(const ToolEnvironment &environment);

// No tool was found, only the fallback folder is watched: said in the log and the settings window.
bool foundNoTool(const QList<WatchedFolder> &folders);

} // namespace ScreenshotToolSettings
