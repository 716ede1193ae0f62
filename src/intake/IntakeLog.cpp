#include "intake/IntakeLog.h"

Q_LOGGING_CATEGORY(lcIntake, "quillo.intake", QtDebugMsg)
