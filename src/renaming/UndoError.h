// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// Why a change or an undo of a rename failed, in words for the user.
struct UndoError
{
    enum class Kind
    {
        RenamedFileMissing,   // undo: the renamed file is gone
        FileMissingForChange, // relocate: the renamed file is gone
        FileSystem,           // folder creation or the move failed
        AlreadyNamed,         // rename on request: Quillo has named the file before
        RenamedFileReplaced   // undo or change: another file (or a changed one) has the renamed name
    };

    Kind kind = Kind::FileSystem;
    QString description;

    static UndoError renamedFileMissing(const QString &fileName);
    static UndoError fileMissingForChange(const QString &fileName);
    static UndoError alreadyNamed(const QString &fileName);
    static UndoError renamedFileReplaced(const QString &fileName);
    static UndoError fileSystem(const QString &description) { return {Kind::FileSystem, description}; }
    // `sentence` with the file's name for %1: "“%1” is gone."
    static UndoError aboutFile(const QString &fileName, const QString &sentence,
                               Kind kind = Kind::FileSystem);
};

// A value, or the error that prevented it.
template <typename T> struct RenameOutcome
{
    std::optional<T> value;
    UndoError error;

    RenameOutcome(T result)
        : value(std::move(result))
    {}
    RenameOutcome(UndoError failure)
        : error(std::move(failure))
    {}
    explicit operator bool() const { return value.has_value(); }
};
