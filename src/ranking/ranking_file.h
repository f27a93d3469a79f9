#pragma once
// The ranking file, data.ini, as the game keeps it: one section for each of
// the five ranks, best first, named "1位" .. "5位" (in Shift-JIS), each with
// the keys "score" (the coin total as it was shown) and "name" (up to three
// characters). Nothing beyond the fifth rank is ever read or written.

#include <QString>

inline constexpr int RankCount = 5;

// The section of rank k (1..RankCount): "1位" .. "5位".
QString rankSectionName(int k);

// The two keys of every rank's section.
inline const QString RankScoreKey = QStringLiteral("score");
inline const QString RankNameKey = QStringLiteral("name");
