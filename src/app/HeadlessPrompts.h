// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/UserPrompts.h"

// For running without any interface: warnings go to the log, questions and folder choices are
// cancelled.
class HeadlessPrompts final : public UserPrompts
{
public:
    void warn(const QString &message, const QString &informativeText) override;
    bool confirm(const QString &message, const QString &informativeText, const QString &acceptLabel) override;
    std::optional<QString> chooseFolder(const QString &acceptLabel, const QString &message,
                                        const QString &startFolder) override;
};
