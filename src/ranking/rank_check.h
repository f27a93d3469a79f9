#pragma once
// The ranking check's work on the ranking file: a result entered at the rank
// it earns, and the player's name put on that entry afterwards.

#include "ranking/inigw.h"
#include "ranking/ranking_file.h"

#include <QString>
#include <chrono>
#include <functional>

// What the player is told when a result earned a place but could not be put
// in the ranking file.
QString rankingNotStoredText();

// What the ranking check did with a result, and what tells its entry from
// the others later, wherever another copy of the game has moved it.
struct RankEntry {
    int rank = 0;        // the rank earned, 1..5; 0 when the result earns none
    bool stored = false; // the ranking file holds the result at that rank
    IniOutcome outcome = IniOutcome::Written; // how the change of the file ended
    QString score;       // the score as stored
    QString heldName;    // the name the rank kept from its previous holder
    int sameAbove = 0;   // entries above it with that same score and name
};

// The ranking check's change of the ranking file at path, as one change that
// no other copy of the game can come between. The result is scoreText, the
// coin total as shown (a text that is no number counts as 0). The first
// rank, best first, whose stored score is lower than the result, or empty or
// no number, is earned; a tie leaves the older entry ahead. The entries from
// that rank on move down one place, the last one is dropped, and scoreText
// is stored as the rank's score, unchanged; the rank's name stays that of
// its previous holder until the player's name goes in. When the file cannot
// be changed the rank earned (as the file reads) is still told, with stored
// false, and the file stays as it was.
QList<IniChange> rankScoreChanges(const IniReader &read, const QString &scoreText, RankEntry &entry);
// The same, waiting at most lockWait for the lock on this thread.
RankEntry enterRankScore(const QString &path, const QString &scoreText,
                         std::chrono::milliseconds lockWait = kIniLockWait);
// The same without holding up the game (see changeIniWhenFree): true when
// done has been called already.
bool enterRankScoreWhenFree(const QString &path, const QString &scoreText, QObject *owner,
                            std::function<void(const RankEntry &)> done);

// Where the entry made by the ranking check stands now, 1..5, or 0 when it
// has left the top five. Another copy may have entered results since: an
// entry only ever moves down, by one place for each better result entered
// above it, and keeps its order among the others. So the entry is the one
// with its score and held name that has as many such entries above it as
// it had when it was made. (Should another copy meanwhile put its player's
// name on such an entry above it, this one is not found and the name is
// dropped, never put on another player's score.)
int entryRankNow(const IniReader &read, const RankEntry &entry);
// The player's name on the entry made by the ranking check, wherever it
// stands now; when it has left the top five nothing is written (and the
// outcome is Written: there was nothing to change).
bool writeRankNameWhenFree(const QString &path, const RankEntry &entry, const QString &name, QObject *owner,
                           std::function<void(IniOutcome)> done);
// The same, waiting at most lockWait for the lock on this thread.
IniOutcome writeRankName(const QString &path, const RankEntry &entry, const QString &name,
                         std::chrono::milliseconds lockWait = kIniLockWait);
