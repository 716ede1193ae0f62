// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ProgressLine.h"

#include <QCoreApplication>

namespace {

constexpr qint64 minuteSeconds = 60;
constexpr qint64 hourSeconds = 60 * minuteSeconds;
const QString ellipsis = QStringLiteral("\u2026");

QString middleCut(const QString &text, qsizetype width)
{
    if (text.size() <= width)
        return text;
    if (width <= 1)
        return width == 1 ? ellipsis : QString();
    const qsizetype head = (width - 1) / 2;
    return text.left(head) + ellipsis + text.right(width - 1 - head);
}

} // namespace

namespace ProgressLine {

QString remaining(qint64 ms)
{
    const qint64 seconds = (ms + 999) / 1000;
    if (seconds < minuteSeconds)
        return QCoreApplication::translate("ProgressLine", "about %1 s").arg(seconds);
    if (seconds < hourSeconds) {
        const qint64 rest = seconds % minuteSeconds;
        return rest == 0
                   ? QCoreApplication::translate("ProgressLine", "about %1 min").arg(seconds / minuteSeconds)
                   : QCoreApplication::translate("ProgressLine", "about %1 min %2 s")
                         .arg(seconds / minuteSeconds)
                         .arg(rest);
    }
    const qint64 minutes = (seconds % hourSeconds) / minuteSeconds;
    return minutes == 0 ? QCoreApplication::translate("ProgressLine", "about %1 h").arg(seconds / hourSeconds)
                        : QCoreApplication::translate("ProgressLine", "about %1 h %2 min")
                              .arg(seconds / hourSeconds)
                              .arg(minutes);
}

QString text(int done, int total, const QString &current, qint64 elapsedMs, int columns)
{
    QString fixed = QStringLiteral("%1/%2  ").arg(done).arg(total);
    if (done > 0 && done < total)
        fixed += QCoreApplication::translate("ProgressLine", "%1 left")
                     .arg(remaining(elapsedMs * (total - done) / done)) +
                 QStringLiteral("  ");
    if (fixed.size() >= columns)
        return fixed.left(columns);
    return fixed + middleCut(current, columns - fixed.size());
}

} // namespace ProgressLine
