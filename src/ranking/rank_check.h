#pragma once
// Small rules of the ranking check.

#include "ranking/inigw.h"

#include <QString>
#include <chrono>
#include <optional>

// The section of rank k (1..5): "1位" .. "5位".
QString rankSectionName(int k);
// What the ranking check did with a result.
struct RankEntry {
    int rank = 0;        // the rank earned, 1..5; 0 when the result earns none
    bool stored = false; // the ranking file holds the result at that rank
};

// The ranking check's work on the ranking file at path, as one change that
// no other copy of the game can come between (UpdateIni). The result is
// scoreText, the coin total as shown (a text that is no number counts as 0).
// The first rank, best first, whose stored score is lower than the result,
// or empty or no number, is earned; a tie leaves the older entry ahead. The
// entries from that rank on move down one place, the last one is dropped,
// and scoreText is stored as the rank's score, unchanged; the rank's name
// stays that of its previous holder until the name entry writes the new
// one. When the file cannot be changed (no lock in lockWait, unreadable, a
// failed write) the rank earned is still told, with stored false, and the
// file stays as it was.
RankEntry enterRankScore(const QString &path, const QString &scoreText,
                         std::chrono::milliseconds lockWait = kIniLockWait);
