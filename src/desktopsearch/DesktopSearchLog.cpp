// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktopsearch/DesktopSearchLog.h"

Q_LOGGING_CATEGORY(lcDesktopSearch, "quillo.desktopsearch", QtDebugMsg)
