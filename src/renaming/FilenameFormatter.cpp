// SPDX-License-Identifier: GPL-3.0-or-later
#include "renaming/FilenameFormatter.h"

#include "core/TextScanning.h"
#include "naming/SlugGenerator.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QTimeZone>

namespace {

constexpr qsizetype maxBaseNameLength = 200;

} // namespace

namespace FilenameFormatter {

QString filename(const QString &baseName, const QString &pathExtension)
{
    if (pathExtension.isEmpty())
        return baseName;
    return baseName + u'.' + pathExtension;
}

QString dateSuffix(const QDateTime &instant, const QTimeZone &zone)
{
    // An invalid date yields zeros, as a calendar without those components would.
    const QDate date = instant.toTimeZone(zone).date();
    return QString::asprintf("%04d-%02d-%02d", date.year(), date.month(), date.day());
}

std::optional<QDate> dateInName(const QString &name)
{
    static const QRegularExpression date(
        QStringLiteral("(?<!\\d)((?:19|20)\\d{2})([-_.]?)(\\d{2})\\2(\\d{2})(?!\\d)"));
    for (const auto &match : date.globalMatch(name)) {
        const QDate found(match.captured(1).toInt(), match.captured(3).toInt(), match.captured(4).toInt());
        if (found.isValid())
            return found;
    }
    return std::nullopt;
}

std::optional<QString> userBaseName(const QString &text)
{
    QString name = SlugGenerator::words(text).join(u'-').left(maxBaseNameLength);
    // Only the cut can leave a hyphen at an end; words themselves never hold one.
    while (name.endsWith(u'-'))
        name.chop(1);
    if (name.isEmpty())
        return std::nullopt;
    return name;
}

QString folderName(const QString &name, const QString &fallback)
{
    QString cleaned = name;
    cleaned.replace(u'/', u'-').replace(u':', u'-');
    QStringView rest(cleaned);
    // Leading dots and spaces alternate (". . x"), so strip both until neither is left.
    for (qsizetype before = -1; before != rest.size();) {
        before = rest.size();
        rest = TextScanning::trimmed(rest, [](char32_t c) {
            return QChar::isSpace(c);
        });
        while (rest.startsWith(u'.'))
            rest = rest.sliced(1);
    }
    return rest.isEmpty() ? fallback : rest.toString();
}

} // namespace FilenameFormatter
