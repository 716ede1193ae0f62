// SPDX-License-Identifier: GPL-3.0-or-later
#include "reading/ReadingLog.h"

Q_LOGGING_CATEGORY(lcReading, "quillo.reading", QtDebugMsg)
