// SPDX-License-Identifier: GPL-3.0-or-later
#include "index/IndexLog.h"

Q_LOGGING_CATEGORY(lcIndex, "quillo.index", QtDebugMsg)
