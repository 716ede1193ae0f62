// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/UpdateLog.h"

Q_LOGGING_CATEGORY(lcUpdate, "quillo.update", QtDebugMsg)
