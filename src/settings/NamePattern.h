// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Turns the file-name template of a screenshot tool into the regular expression its file names
// match: the template's fixed text, its placeholders as what they stand for, then the suffix a tool
// adds when the name is taken ("-2", "_1", " - 1", "(2)") and an image extension. Matched
// case-insensitively, with Unicode digits (tools may write dates in the user's digits).
namespace NamePattern {

enum class Syntax
{
    Strftime,         // %Y-%m-%d, as Flameshot's pattern and the GNOME tools' dates
    SpectacleClassic, // %Y%M%D_%H%m%S
    SpectacleTags,    // <yyyy><MM><dd>_<HH><mm><ss>
    Ksnip,            // $Y$M$D-$T
};

QString fromTemplate(const QString &nameTemplate, Syntax syntax);
// A translated message such as "Screenshot from %s.%s": its first %s is a date in the strftime
// format `dateFormat`, a later %s the extension, %d a number.
QString fromMessage(const QString &message, const QString &dateFormat);
// A name matched exactly as written, for names whose form is fixed ("\\d{8}_…_grim").
QString fromExpression(const QString &expression);

} // namespace NamePattern
