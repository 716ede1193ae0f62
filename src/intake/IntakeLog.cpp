#include "intake/IntakeLog.h"

Q_LOGGING_CATEGORY(lcIntake, "com.morrowlane.tagwell.intake")
