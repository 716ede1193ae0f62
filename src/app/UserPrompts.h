// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// Warnings, questions and folder choices for the user. Without an interface a warning is logged, and
// a question or a folder choice answers "cancelled".
class UserPrompts
{
public:
    virtual ~UserPrompts() = default;
    virtual void warn(const QString &message, const QString &informativeText) = 0;
    // True when the user picks the button `acceptLabel` names rather than cancelling.
    virtual bool confirm(const QString &message, const QString &informativeText,
                         const QString &acceptLabel) = 0;
    // The chosen folder, or nothing when the user cancelled. `acceptLabel` names the button.
    virtual std::optional<QString> chooseFolder(const QString &acceptLabel, const QString &message,
                                                const QString &startFolder) = 0;
};
