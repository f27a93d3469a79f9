#pragma once
// Ranking games played on a test table, and the windows they open.

#include "table_fixture.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The ranking file of five entries AAA 500, BBB 400, CCC 300, DDD 200,
// EEE 100, as the game writes it (Shift-JIS, CR LF).
QByteArray standardRanking();

// Puts standardRanking() into fake's program directory as the ranking file.
void writeStandardRanking(const FakePlatform &fake);

// Plays a ranking game to its end with the given coin total as the score,
// on the table's fake clock.
void rankingGame(Table &t, const QString &score);

// The value of key ("name" or "score") of rank 1..5 in the ranking file at
// path; rank k as "name:score"; and all five, best first, as "name:score"
// joined by blanks.
QString rankValue(const QString &path, int rank, const char *key);
QString rankRow(const QString &path, int rank);
QString rankRows(const QString &path);

class nameinput;
class QWidget;

// The virtual keys that spell name (letters A..Z) on the name entry with the
// cursor starting on "A", and then confirm it: Return takes the letter under
// the cursor, and after the third letter the cursor is on "終".
QList<int> nameKeys(const QString &name);
// Types name on entry from "A" (where Return first puts the cursor when the
// entry has none yet), checks that the cursor has reached "終" and confirms.
void typeName(nameinput *entry, const QString &name);

// Opens the name entry as the ranking check does (over table, which may be
// null) and waits until it is up. Its blink timers keep running as in the
// game, but their ticks come from the tests alone: a key press lets Qt
// deliver whatever is due, and on a slow machine half a second can pass
// between two presses.
nameinput *openNameEntry(QWidget *table, const QString &rankSection, bool firstOpen);

// Closes every open name entry (its frame close stores the name typed so far
// and opens the score window) and then every score window, as a player
// would, and lets the closed windows go.
void finishRankingWindows();

// Closes the ranking windows when a test leaves early, before the table and
// its fake desktop go: the windows reach both while closing.
struct RankingWindowsCloser {
    ~RankingWindowsCloser() { finishRankingWindows(); }
};

// Deletes the name entry and the score window wherever a test left them,
// without closing them: no name is stored and no table given back.
void deleteRankingWindows();
