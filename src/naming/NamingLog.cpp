#include "naming/NamingLog.h"

Q_LOGGING_CATEGORY(lcNaming, "com.morrowlane.tagwell.naming", QtInfoMsg)
