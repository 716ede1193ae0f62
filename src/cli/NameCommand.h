// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>

// `quillo name [--json] FILE...`: names each file the way Quillo would, without renaming anything,
// with the stored settings and routing rules. Returns the exit status: non-zero when any file could
// not be read (the others are still named).
namespace NameCommand {

// The arguments are the bytes the shell passed, so a name that is not valid UTF-8 is still found.
int run(const QList<QByteArray> &files, bool json);

} // namespace NameCommand
