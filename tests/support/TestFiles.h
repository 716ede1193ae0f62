#pragma once

#include <QByteArray>
#include <QString>

// Small file helpers for tests; each returns whether it worked, for QVERIFY.
namespace TestFiles {

bool write(const QString &path, const QByteArray &bytes = QByteArrayLiteral("png"));
// The whole file, or a null array when it cannot be read.
QByteArray read(const QString &path);

} // namespace TestFiles
