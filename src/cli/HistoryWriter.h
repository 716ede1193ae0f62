// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "renaming/RenameCoordinator.h"

// Carries out the renames and undos the command line asks for, in the one process that writes the
// rename history: the running Quillo, or the command itself when none runs.
class HistoryWriter
{
public:
    virtual ~HistoryWriter() = default;

    virtual RenameOutcome<RenameRecord> rename(const NamedFile &file) = 0;
    // Restores the history's record with this id; returns where the file now is.
    virtual RenameOutcome<QString> undo(const QUuid &id) = 0;
};
