#pragma once
// The game as a program: the application's names, the desktop, the table
// and the event loop.

class QApplication;

// The reverse-DNS id under which the desktop knows the game: its desktop
// entry, its AppStream metainfo and its icon are named after it.
inline constexpr const char kDesktopId[] = TIVORAN_APP_ID;

class QWidget;
class Platform;

// Tells the player, once at start, when this Qt cannot write the game's
// text files (no Shift-JIS converter): on standard error, and in a message
// over table. The game then plays on without writing them.
void reportMissingTextCodec(Platform &desktop, QWidget *table);

// Runs the game in app until it ends; returns the exit code.
int runGame(QApplication &app);
