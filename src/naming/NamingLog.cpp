// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/NamingLog.h"

Q_LOGGING_CATEGORY(lcNaming, "quillo.naming", QtDebugMsg)
