#include "app/AppLog.h"

Q_LOGGING_CATEGORY(lcApp, "com.morrowlane.tagwell.app", QtDebugMsg)
