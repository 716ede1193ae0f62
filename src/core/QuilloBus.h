// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Where the running Quillo is found on the session bus: the take-over signal and the methods the
// command line hands its renames and undos to.
namespace QuilloBus {

inline const QString service = QStringLiteral("org.quillo.Quillo");
inline const QString path = QStringLiteral("/org/quillo/Quillo");
inline const QString interface = QStringLiteral("org.quillo.Quillo");
// The error a hand-off fails with when Quillo had named the file before; others are plain failures.
inline const QString alreadyNamedError = QStringLiteral("org.quillo.Quillo.Error.AlreadyNamed");
inline const QString failedError = QStringLiteral("org.quillo.Quillo.Error.Failed");

} // namespace QuilloBus
