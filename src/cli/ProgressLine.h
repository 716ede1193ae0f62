// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The line `quillo rename` keeps redrawing on a terminal. Pure functions.
namespace ProgressLine {

// "12/61  about 1 min 5 s left  Screenshot from 2026-12-05.png", cut to `columns` characters by
// shortening the file name in the middle. No time is guessed before the first file is done.
QString text(int done, int total, const QString &current, qint64 elapsedMs, int columns);

// The time left as "about 40 s", "about 3 min 20 s" or "about 2 h 5 min".
QString remaining(qint64 ms);

} // namespace ProgressLine
