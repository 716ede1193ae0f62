// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsLog.h"

Q_LOGGING_CATEGORY(lcSettings, "quillo.settings", QtDebugMsg)
Q_LOGGING_CATEGORY(lcAccess, "quillo.access", QtDebugMsg)
