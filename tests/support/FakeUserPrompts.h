// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/UserPrompts.h"

#include <QStringList>

// Records warnings and questions; answers questions and folder choices with whatever the test queued
// (nothing = cancelled).
class FakeUserPrompts final : public UserPrompts
{
public:
    QStringList warnings;       // "message: informative text"
    QStringList folderRequests; // accept labels, in order
    std::optional<QString> nextFolder;
    QStringList questions; // messages, in order
    bool nextAnswer = false;

    void warn(const QString &message, const QString &informativeText) override
    {
        warnings.append(message + QStringLiteral(": ") + informativeText);
    }

    bool confirm(const QString &message, const QString &, const QString &) override
    {
        questions.append(message);
        return std::exchange(nextAnswer, false);
    }

    std::optional<QString> chooseFolder(const QString &acceptLabel, const QString &, const QString &) override
    {
        folderRequests.append(acceptLabel);
        return std::exchange(nextFolder, std::nullopt);
    }
};
