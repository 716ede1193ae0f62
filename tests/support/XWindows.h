// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QString>

#include <optional>

// The X server in DISPLAY as a user would see it, asked afresh each time through xwininfo: for
// end-to-end tests under Xvfb. Empty or null when there is no server.
namespace XWindows {

QSize screenSize();
// Where the viewable top-level window with exactly that title lies, if there is one.
std::optional<QRect> viewable(const QString &title);

} // namespace XWindows
