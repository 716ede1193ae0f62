#pragma once

#include <QStringList>

// `quillo name [--json] FILE...`: names each file the way Quillo would, without renaming anything,
// with the stored settings and routing rules. Returns the exit status: non-zero when any file could
// not be read (the others are still named).
namespace NameCommand {
int run(const QStringList &files, bool json);
}
