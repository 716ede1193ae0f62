// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

// Software updates: checks, downloads, verification and installation.
Q_DECLARE_LOGGING_CATEGORY(lcUpdate)
