#include "app/AppLog.h"

Q_LOGGING_CATEGORY(lcApp, "quillo.app", QtDebugMsg)
