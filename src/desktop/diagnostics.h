#pragma once
// The game's diagnostics for developers: one line for each file or sound
// failure. A player sees no more than before, since the game goes on either
// way; the lines are silent unless switched on, e.g. with the rule
// "tivoran.*=true" in QT_LOGGING_RULES or in a qtlogging.ini.

#include <QLoggingCategory>

// The categories' names, for the sound module too, which defines its own.
inline constexpr char FilesLogCategory[] = "tivoran.files";
inline constexpr char SoundLogCategory[] = "tivoran.sound";

// Files the game could not read, write or hand to the desktop.
Q_DECLARE_LOGGING_CATEGORY(lcFiles)
// Sounds that could not be loaded or played.
Q_DECLARE_LOGGING_CATEGORY(lcSound)
