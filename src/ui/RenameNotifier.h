#pragma once

#include "renaming/RenameRecord.h"

// Tells the user about renames: the application controller's way into the interface, absent when
// Quillo runs without a display.
class RenameNotifier
{
public:
    virtual ~RenameNotifier() = default;
    // After the rename is in the history.
    virtual void show(const RenameRecord &record) = 0;
    // An undo carried out elsewhere (the tray), so what is shown stays true.
    virtual void renameWasUndone(const QUuid &id, const QString &restoredPath) = 0;
};
