// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

class QDate;
class QDateTime;
class QTimeZone;

// How a base name becomes a file name. Pure functions, safe on any thread.
namespace FilenameFormatter {

// "name.ext", or the base name alone when the extension is empty. Case and slashes are left alone.
QString filename(const QString &baseName, const QString &pathExtension);

// The Gregorian date of the instant in that zone as "YYYY-MM-DD", without a leading hyphen.
QString dateSuffix(const QDateTime &instant, const QTimeZone &zone);

// The date a screenshot tool wrote into a file name ("Screenshot from 2025-03-14 10-00-01",
// "Screenshot_20250314_100001", "2025-03-14_10-00"): year, month and day in that order, run together
// or each after one separator. Nothing when the name holds no such date.
std::optional<QDate> dateInName(const QString &name);

// A typed name in the program's own form (words joined by hyphens, at most 200 characters),
// or nothing when no letter or digit survives.
std::optional<QString> userBaseName(const QString &text);

// A typed folder name made safe as one path component: no slash or colon, no leading dots or
// surrounding spaces (so never hidden, "." or ".."); `fallback` when nothing is left.
QString folderName(const QString &name, const QString &fallback);

} // namespace FilenameFormatter
