#include "naming/NamingLog.h"

Q_LOGGING_CATEGORY(lcNaming, "quillo.naming", QtDebugMsg)
