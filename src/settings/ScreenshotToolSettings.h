#pragma once

#include <QString>

#include <optional>

// Where the desktop's screenshot tool saves captures, and the name it gives them, read afresh from
// that tool's own settings on every call: the folder from the first of Spectacle and Flameshot that
// names one, else the Pictures/Screenshots folder that GNOME uses; the name from the tool whose
// folder is used, or, when none names a folder, from the first that names a template. Main thread only.
namespace ScreenshotToolSettings {

// The tool's configured folder, untrimmed; absent when no tool says.
std::optional<QString> rawLocation();

// The literal text before the first placeholder of the tool's file-name template, with one trailing
// space, "_" or "-" removed; absent when empty.
std::optional<QString> customNamePrefix();

// The folder to watch when the user chose none: the tool's folder when it is an existing absolute
// directory (after trimming and expanding "~") that may be watched, else Pictures/Screenshots,
// created when missing, else (when it cannot be created) the desktop folder.
QString systemFolder();

// The literal text of a file-name template before its first placeholder ('%' or '<'), as above.
std::optional<QString> prefixOfTemplate(const QString &nameTemplate);

} // namespace ScreenshotToolSettings
