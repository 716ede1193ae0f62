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
    Overflow, // events were lost; the folder may have changed in any way
};

// One change to an entry of a watched folder.
struct FolderEvent
{
    FolderEventKind kind = FolderEventKind::Created;
    QString name; // the entry's name in the folder; empty for Overflow
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
};
