// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "renaming/RenameHistoryStore.h"
#include "settings/PreferencesStore.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QTemporaryDir>

// The stores a test of the renaming or the interface stands on: a temporary folder under HOME (on
// disk, with user attributes, unlike a tmpfs /tmp on older kernels) holding the preferences file and
// a watched folder whose name has a space and a non-ASCII letter. Make a fresh one per test function.
struct StoreFixture
{
    explicit StoreFixture(const QString &label = QStringLiteral("stores"))
        : temp(QDir::homePath() + QStringLiteral("/%1-XXXXXX").arg(label))
        , root(temp.filePath(QStringLiteral("Screen shots \u00fc")))
        , preferences(temp.filePath(QStringLiteral("quillo.conf")))
        , settings(preferences)
        , history(preferences)
    {
        QDir().mkpath(root);
    }

    QTemporaryDir temp;
    QString root;
    PreferencesStore preferences;
    SettingsStore settings;
    RenameHistoryStore history;
};
