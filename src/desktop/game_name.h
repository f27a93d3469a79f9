#pragma once
// The game's name, as players and the desktop know it.

#include <QString>

// Every window title and message box of the game carries it, and the desktop
// keeps the player's files and settings under it: ~/.local/share/Tivoran and
// ~/.config/Tivoran/Tivoran.conf.
inline const QString GameName = QStringLiteral("Tivoran");
