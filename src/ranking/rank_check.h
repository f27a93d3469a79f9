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
// What the player is told when the name typed could not be put on the
// result's entry.
QString nameNotStoredText();

// What the ranking check did with a result, and what tells its entry from
// the others later, wherever another copy of the game has moved it.
struct RankEntry {
    int rank = 0;        // the rank earned, 1..5; 0 when the result earns none
    bool stored = false; // the ranking file holds the result at that rank
    IniOutcome outcome = IniOutcome::Written; // how the change of the file ended
    QString score;       // the score as stored
    QString heldName;    // the name the rank kept from its previous holder
    int sameAbove = 0;   // entries above it with that same score
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

// Where the entry made by the ranking check stands now, 1..5; 0 when it has
// left the top five; -1 when it cannot be told for sure. Other copies of the
// game may have entered results since, all under the file's lock: an entry
// only ever moves down, by one place for each better result entered above
// it, and a result equal to it goes below it. So the entries above it with
// its score stay the same ones, and it is the one with as many such entries
// above it as it had when it was made. Until its own player's name goes in
// it carries the name it was made with, and it never stands above the rank
// it was made at; an entry found otherwise means the file was changed by
// other means, and it is not taken for this one.
int entryRankNow(const IniReader &read, const RankEntry &entry);

// How the write of the player's name ended.
enum class NameOutcome {
    Written,     // the name is on its entry (or there was nothing to name)
    EntryLeft,   // the entry has left the top five: no name written
    EntryUnsure, // the entry cannot be told for sure: no name written
    NotWritten,  // the ranking file could not be read, locked or written
};
// What the player is told after the name entry: nothing when it was written.
QString nameOutcomeText(NameOutcome outcome);

// The player's name from the name entry: put on the entry the ranking check
// made, wherever it stands now. Without such an entry (rank 0) it goes
// under section, the rank named by its section name, as it is; with neither
// nothing is written. Waits for the lock without holding up the game (see
// changeIniWhenFree): true when done has been called already.
bool writeRankNameWhenFree(const QString &path, const RankEntry &entry, const QString &section,
                           const QString &name, QObject *owner, std::function<void(NameOutcome)> done);
// The same, waiting at most lockWait for the lock on this thread.
NameOutcome writeRankName(const QString &path, const RankEntry &entry, const QString &section,
                          const QString &name, std::chrono::milliseconds lockWait = kIniLockWait);
