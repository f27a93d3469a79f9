#pragma once
// The game as a program: the application's names, the desktop, the table
// and the event loop.

class QApplication;

// The reverse-DNS id under which the desktop knows the game: its desktop
// entry, its AppStream metainfo and its icon are named after it.
inline constexpr const char kDesktopId[] = TIVORAN_APP_ID;

// Runs the game in app until it ends; returns the exit code.
int runGame(QApplication &app);
