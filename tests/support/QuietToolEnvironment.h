// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/ToolEnvironment.h"

#include <QDir>
#include <QStandardPaths>

// This test's home and settings folder with no screenshot tool installed, no desktop session and
// no translations, whatever the computer running the test has: only the tools whose settings the
// test writes are found.
inline ToolEnvironment quietToolEnvironment()
{
    ToolEnvironment environment;
    environment.home = QDir::homePath();
    environment.configHome = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    environment.isInstalled = [](const QString &) {
        return false;
    };
    environment.gsetting = [](const QString &, const QString &) {
        return std::optional<QString>();
    };
    environment.translate = [](const char *, const char *message) {
        const QString text = QString::fromUtf8(message);
        return text.mid(text.indexOf(u'\004') + 1);
    };
    return environment;
}
