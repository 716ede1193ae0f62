// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// Quillo's modal folder dialogs; each brings itself to the front. Nothing when cancelled.
namespace FolderDialogs {

// A directory, with `acceptLabel` on the button that confirms it.
std::optional<QString> chooseFolder(const QString &acceptLabel, const QString &message,
                                    const QString &startFolder);

// The name of a folder to create in the watched folder, as typed.
std::optional<QString> askNewFolderName(const QString &rootTitle);

} // namespace FolderDialogs
