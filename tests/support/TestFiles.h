// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// A text that may be absent, as a test-table column.
using OptionalText = std::optional<QString>;

// Small file helpers for tests; each returns whether it worked, for QVERIFY.
namespace TestFiles {

// Creates the parent folders as needed and replaces what was there.
bool write(const QString &path, const QByteArray &bytes = QByteArrayLiteral("png"));
// The whole file, or a null array when it cannot be read.
QByteArray read(const QString &path);
// Copies under a hidden name, then renames into place, as screenshot tools write.
bool copyLikeScreenshotTool(const QString &source, const QString &target);
// Every file below the folder, hidden ones included, relative to it and sorted.
QStringList filesUnder(const QString &folder);

} // namespace TestFiles
