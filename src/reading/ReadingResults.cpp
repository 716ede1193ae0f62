// SPDX-License-Identifier: GPL-3.0-or-later
#include "reading/ReadingResults.h"

namespace Reading {

QString tooLongText(qint64 bytes)
{
    constexpr qint64 mebibyte = 1024 * 1024;
    return QStringLiteral("file too large (%1 MiB, at most %2 MiB)")
        .arg(double(bytes) / double(mebibyte), 0, 'f', 0)
        .arg(maximumFileBytes / mebibyte);
}

QString overTimeText(std::chrono::milliseconds budget)
{
    return QStringLiteral("reading it took longer than %1 s of processor time")
        .arg(double(budget.count()) / 1000.0);
}

} // namespace Reading
