// SPDX-License-Identifier: GPL-3.0-or-later
#include "renaming/RenameLog.h"

Q_LOGGING_CATEGORY(lcRename, "quillo.rename", QtDebugMsg)
