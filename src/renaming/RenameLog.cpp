#include "renaming/RenameLog.h"

Q_LOGGING_CATEGORY(lcRename, "quillo.rename", QtDebugMsg)
