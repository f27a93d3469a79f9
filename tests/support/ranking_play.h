#pragma once
// Ranking games played on a test table, and the windows they open.

#include "table_fixture.h"

#include <QByteArray>
#include <QString>

// The ranking file of five entries AAA 500, BBB 400, CCC 300, DDD 200,
// EEE 100, as the game writes it (Shift-JIS, CR LF).
QByteArray standardRanking();

// Plays a ranking game to its end with the given coin total as the score,
// on the table's fake clock.
void rankingGame(Table &t, const QString &score);

class nameinput;
class QWidget;

// Opens the name entry as the ranking check does (over table, which may be
// null) and waits until it is up. Its blink timers keep running as in the
// game, but their ticks come from the tests alone: a key press lets Qt
// deliver whatever is due, and on a slow machine half a second can pass
// between two presses.
nameinput *openNameEntry(QWidget *table, const QString &rankSection, bool firstOpen);

// Closes the name entry (its frame close stores the name typed so far and
// opens the score window) and the score window, as a player would, and lets
// the closed windows go.
void finishRankingWindows();

// Closes the ranking windows when a test leaves early, before the table and
// its fake desktop go: the windows reach both while closing.
struct RankingWindowsCloser {
    ~RankingWindowsCloser() { finishRankingWindows(); }
};
