#include "renaming/RenameLog.h"

Q_LOGGING_CATEGORY(lcRename, "com.morrowlane.tagwell.rename", QtDebugMsg)
