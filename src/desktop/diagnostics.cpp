#include "desktop/diagnostics.h"

// Warnings are off until a rule switches them on; the failures are logged
// as warnings.
Q_LOGGING_CATEGORY(lcFiles, "tivoran.files", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcSound, "tivoran.sound", QtCriticalMsg)
