// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// Which folders Quillo may watch. Renaming files in system folders could break the computer, and
// the home folder itself is too broad to watch unless the user asked for exactly that.
namespace WatchedFolderRules {

// Why `folder` cannot be the watched folder, in words for the user; nothing when it can. Links are
// resolved first. The home folder itself is accepted only as a folder the user chose (`isCustom`).
std::optional<QString> refusal(const QString &folder, bool isCustom);

} // namespace WatchedFolderRules
