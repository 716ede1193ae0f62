// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Shuts a reading process in before it reads a byte of an untrusted file: resource limits, no new
// privileges, the file system read-only on what decoding needs (Landlock, where the kernel has it),
// and a seccomp filter against opening files for writing, sockets, new programs and other processes.
// Irreversible; call once, with everything the process will need already opened or loaded.
namespace WorkerConfinement {

// Empty when confined, otherwise why not: the process must then refuse to read. `readable` adds
// folders to the ones decoding always needs (libraries, plugins, fonts).
QString confine(const QStringList &readable);
// Whether this kernel lets confine() restrict the file system too.
bool restrictsFileSystem();

} // namespace WorkerConfinement
