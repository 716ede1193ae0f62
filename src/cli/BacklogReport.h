// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QUuid>

#include <optional>

// What `quillo rename` and `quillo index` say about each file it looked at and at the end, and its exit
// status. Plain text for people (failures on standard error), or one JSON object per file.
class BacklogReport
{
public:
    enum class Result
    {
        Renamed,
        WouldRename, // --dry-run
        Indexed,     // quillo index
        AlreadyNamed,
        Failed,
        NotScreenshot
    };

    struct Entry
    {
        Result result = Result::Failed;
        QString file;        // as the user gave it (folder and name)
        QString renamedPath; // renamed or would be, absolute
        QUuid id;            // the history record of a rename
        QString error;       // why it failed
    };

    struct Line
    {
        QByteArray text; // without the line break
        bool isError = false;
    };

    explicit BacklogReport(bool json)
        : m_json(json)
    {}

    // Counts the entry; the line to print, nothing for a file that is not a screenshot.
    std::optional<Line> add(const Entry &entry);
    // "3 renamed, 1 already named, 2 failed, 5 not screenshots"; `notStarted` files were left
    // when the run was stopped.
    QString summary(int notStarted) const;
    // 0 when every screenshot was handled, 1 when one failed, 130 when the run was stopped.
    int exitStatus(bool stopped) const;

private:
    bool m_json;
    int m_counts[6] = {};
};
