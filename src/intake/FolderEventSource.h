// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

enum class FolderEventKind
{
    Created,
    MovedIn,
    MovedOut,
    Deleted,
    Modified,
    ClosedAfterWrite,
    Overflow,   // events were lost; the folder may have changed in any way
    FolderGone, // the folder itself was deleted, moved away or unmounted; empty name
    FolderBack, // a folder is at the watched path again and is being watched; empty name
};

// One change to an entry of a watched folder.
struct FolderEvent
{
    FolderEventKind kind = FolderEventKind::Created;
    QString name; // the entry's name in the folder; empty for the kinds about the folder itself
    bool isDirectory = false;
    bool isNameDecodable = true; // false when the name's bytes are not valid UTF-8

    bool operator==(const FolderEvent &) const = default;
};

// Reports the changes to the entries of one folder (not of its subfolders), in order, on the
// thread that created the source.
class FolderEventSource
{
public:
    using Handler = std::function<void(const FolderEvent &event)>;

    virtual ~FolderEventSource() = default;
    virtual QString folderPath() const = 0;
    // The handler may destroy the source.
    virtual void setHandler(Handler handler) = 0;
    // Delivers at once the changes that happened but were not delivered yet.
    virtual void flush() = 0;
};
