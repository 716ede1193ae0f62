// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "naming/CaptureContext.h"
#include "renaming/RenameRecord.h"

#include <optional>

// What Quillo shows on a desktop of the controller's work: the tray, the rename panel and the
// settings window behind one door. Absent when Quillo runs without a display. Main thread.
class DesktopInterface
{
public:
    virtual ~DesktopInterface() = default;

    // After the rename is in the history: the tray flashes, then the panel shows it.
    virtual void renamed(const RenameRecord &record) = 0;
    // An undo carried out anywhere, so what is shown stays true.
    virtual void renameWasUndone(const QUuid &id, const QString &restoredPath) = 0;
    // Something the tray icon shows changed: renames in flight, watching, paused, folder access.
    virtual void stateChanged() = 0;
    // The start-up sequence is done and the watcher set up.
    virtual void started(bool isFirstLaunch) = 0;
    virtual void showSettings() = 0;
    // Where Quillo's panel is on screen now, if it is: a screenshot taken now would show it there.
    virtual std::optional<CaptureContext::Panel> shownPanel() = 0;
};
