// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// What `quillo rename`, `quillo history` or `quillo undo` was asked to do.
struct CommandRequest
{
    enum class Command
    {
        Rename,
        History,
        Undo,
        Index,
        Search
    };

    Command command = Command::Rename;
    bool help = false;
    bool dryRun = false;
    bool json = false;
    bool recursive = false;
    int jobs = 0;                 // files read at once; 0 is one per core
    int limit = 20;               // search: the most results shown
    QList<QByteArray> paths = {}; // rename, index: the shell's bytes, so names that are not UTF-8 are found;
                                  // search: the words
    QString undoId = {};          // undo: a history id or the start of one; empty is the newest rename

    bool operator==(const CommandRequest &) const = default;
};

// Reads the arguments of the three history commands. Pure functions.
namespace CommandLine {

// The command named by the first argument, if it is one of the three.
std::optional<CommandRequest::Command> command(const QByteArray &firstArgument);

struct Parsed
{
    std::optional<CommandRequest> request;
    QString error; // when there is no request: what is wrong, for the user
};

// `arguments` follow the command's name.
Parsed parse(CommandRequest::Command command, const QList<QByteArray> &arguments);

// How the command is written: "quillo history [--json]".
QString synopsis(CommandRequest::Command command);
// The usage text `--help` prints.
QString usage(CommandRequest::Command command);

} // namespace CommandLine
