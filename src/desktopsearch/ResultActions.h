// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// What choosing a search result does with its file. Calls return at once; failures are logged,
// since the desktop's search has already closed by then.
class ResultActions
{
public:
    virtual ~ResultActions() = default;
    // Opens the file in the desktop's default application for its type.
    virtual void open(const QString &filePath) = 0;
    // Shows the file selected in its folder.
    virtual void reveal(const QString &filePath) = 0;
};
