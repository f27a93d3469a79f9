#include "desktop/diagnostics.h"

// Warnings are off until a rule switches them on; the failures are logged
// as warnings.
Q_LOGGING_CATEGORY(lcFiles, FilesLogCategory, QtCriticalMsg)
Q_LOGGING_CATEGORY(lcSound, SoundLogCategory, QtCriticalMsg)
