#include "ui/UiLog.h"

Q_LOGGING_CATEGORY(lcUpdate, "quillo.update", QtDebugMsg)
