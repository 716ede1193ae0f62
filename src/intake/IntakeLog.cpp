// SPDX-License-Identifier: GPL-3.0-or-later
#include "intake/IntakeLog.h"

Q_LOGGING_CATEGORY(lcIntake, "quillo.intake", QtDebugMsg)
