// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "renaming/RenameRecord.h"
#include "ui/TraySearch.h"

#include <QDateTime>
#include <QKeySequence>
#include <QList>
#include <QString>

#include <chrono>
#include <optional>

// What the tray shows, decided from plain values so it can be tested without a tray host.
namespace TrayState {

enum class Icon
{
    Paused,
    NeedsAccess,
    NotRenaming,      // the history cannot be saved
    CannotReadSafely, // no reading process can shut itself in
    Naming,
    Renamed,
    Watching
};

struct Inputs
{
    bool isPaused = false;
    bool needsFolderAccess = false;
    bool isProcessing = false;      // a rename is in flight
    bool isFlashingRenamed = false; // within two seconds of the last rename
    std::optional<QString> watchedFolder;
    QList<RenameRecord> history; // newest first
    bool canCheckForUpdates = false;
    std::optional<QString> renamingProblem = {}; // renames held back, with why
    std::optional<QString> readingProblem = {};  // nothing read, with why
    bool canSearch = false;                      // the search index is kept, and the popup can hold a field
    TraySearch search = {};                      // what the popup's field holds and found
};

// The first state that holds, in the order paused, needs access, not renaming, cannot read safely,
// naming, renamed, watching.
Icon icon(const Inputs &inputs);
// The tooltip and accessible name of that state ("Quillo, paused").
QString description(Icon icon);

// The disabled first line of the menu ("Watching “Screenshots”").
QString statusTitle(const Inputs &inputs);

// "was Screenshot 1.png, 3 min ago, in Web".
QString recentRenameDetail(const RenameRecord &record, const QDateTime &now);
// Each recent rename's file name, with its folder where two would read the same.
QStringList recentRenameTitles(const QList<RenameRecord> &history);
// "now", "1 min ago", "5 hr ago", "2 days ago".
QString relativeTime(const QDateTime &then, const QDateTime &now);

enum class Command
{
    None,
    GrantFolderAccess,
    TogglePause,
    OpenWatchedFolder,
    UndoLast,
    OpenSettings,
    CheckForUpdates,
    Quit,
    // Per recent rename (entry.record):
    RevealRecord,
    UndoRecord,
    // Per screenshot a search found (entry.filePath):
    RevealFile
};

// A command the user picked, with the recent rename a RevealRecord or UndoRecord is for, or the file
// a RevealFile is for.
struct CommandRequest
{
    Command command = Command::None;
    std::optional<RenameRecord> record;
    QString filePath = {};

    bool operator==(const CommandRequest &) const = default;
};

// One line of the menu. A recent rename is an entry with children: its detail line and its
// "Show in Folder" and "Undo Rename" commands; a screenshot a search found has no undo.
struct Entry
{
    enum class Kind
    {
        Action,
        Separator,
        Section,
        Submenu,
        SearchField // only where the menu can hold a widget; `text` is its placeholder
    };
    Kind kind = Kind::Action;
    QString text;
    QString iconName; // freedesktop icon name; empty for none
    QKeySequence shortcut;
    bool isEnabled = true;
    Command command = Command::None;
    std::optional<RenameRecord> record;
    QString filePath; // the screenshot a recent rename or search result row stands for
    QString toolTip;
    QList<Entry> children;
};

// The whole menu in its order; rebuilt every time it opens. While the search field holds words,
// what they found takes the place of the recent renames.
QList<Entry> menu(const Inputs &inputs, const QDateTime &now);

// A search result's second line: the words around the match, at most two of them before it, without
// their marks.
QString searchHitDetail(const SearchHit &hit);

} // namespace TrayState

// The two seconds of check mark after a rename; a second rename restarts them. Time is handed in,
// so the rule is tested without waiting.
class RenamedFlash final
{
public:
    static constexpr std::chrono::milliseconds duration{2000};

    void start(const QDateTime &now) { m_until = now.addMSecs(duration.count()); }
    bool isShowing(const QDateTime &now) const { return m_until && now < *m_until; }
    // How long until the check mark goes; zero when it is not showing.
    std::chrono::milliseconds remaining(const QDateTime &now) const;

private:
    std::optional<QDateTime> m_until;
};
