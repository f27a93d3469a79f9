#pragma once
// The game as a program: the application's names, the desktop, the table
// and the event loop.

#include <memory>

class QApplication;

// The reverse-DNS id under which the desktop knows the game: its desktop
// entry, its AppStream metainfo and its icon are named after it.
inline constexpr const char kDesktopId[] = TIVORAN_APP_ID;

class QWidget;
class Platform;
class QtPlatform;
class Smashine;

// Tells the player, once at start, when this Qt cannot write the game's
// text files (no Shift-JIS converter): on standard error, and in a message
// over table. The game then plays on without writing them.
void reportMissingTextCodec(Platform &desktop, QWidget *table);

// The game's start, the one way it is started: app gets the game's style,
// names and Japanese Qt texts, the real desktop becomes the game's platform,
// and the table is shown (the sounds load a quarter of a second later, once
// the event loop runs). The table closes and the platform is taken away
// when it ends.
class StartedGame {
public:
    explicit StartedGame(QApplication &app);
    ~StartedGame();
    StartedGame(const StartedGame &) = delete;
    StartedGame &operator=(const StartedGame &) = delete;

    QtPlatform &desktop() { return *m_desktop; }
    Smashine &table() { return *m_table; }

private:
    std::unique_ptr<QtPlatform> m_desktop;
    std::unique_ptr<Smashine> m_table;
};

// Runs the game in app until it ends (StartedGame, then the event loop);
// returns the exit code.
int runGame(QApplication &app);
