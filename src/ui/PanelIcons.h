// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QIcon>

// The symbols of Quillo's panels: the freedesktop theme's icon where the theme has one, else a
// drawn one in the given colour.
namespace PanelIcons {

enum class Symbol
{
    Checkmark, // drawn always, so it keeps its tint
    Warning,
    Pencil,
    Folder,
    Undo,
    Reveal,
    Close,
    ChevronLeft,
    ChevronRight,
    ChevronUpDown,
    Photo,
    Document
};

QIcon icon(Symbol symbol, const QColor &color);

} // namespace PanelIcons
