// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/HistoryWriter.h"

#include <memory>

// Hands renames and undos to the Quillo running on the session bus, which records them and shows
// them in its tray and panel.
class DBusHistoryWriter final : public HistoryWriter
{
public:
    // Nothing when no Quillo runs on this session's bus (or there is no bus).
    static std::unique_ptr<DBusHistoryWriter> connectToRunningQuillo();

    RenameOutcome<RenameRecord> rename(const NamedFile &file) override;
    RenameOutcome<QString> undo(const QUuid &id) override;
};
