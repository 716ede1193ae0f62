#pragma once

#include <QString>

#include <optional>

// Where the desktop's screenshot tool saves captures, and the name it gives them, read afresh from
// that tool's own settings on every call: Spectacle, then Flameshot, then the Pictures/Screenshots
// folder that GNOME uses. Main thread only.
namespace ScreencapturePreferences {

// The tool's configured folder, untrimmed; absent when no tool says.
std::optional<QString> rawLocation();

// The literal text before the first placeholder of the tool's file-name template, with one trailing
// space, "_" or "-" removed; absent when empty.
std::optional<QString> customNamePrefix();

// The folder to watch when the user chose none: the tool's folder when it is an existing absolute
// directory (after trimming and expanding "~"), else the desktop folder.
QString systemFolder();

// The literal text of a file-name template before its first placeholder ('%' or '<'), as above.
std::optional<QString> prefixOfTemplate(const QString &nameTemplate);

} // namespace ScreencapturePreferences
