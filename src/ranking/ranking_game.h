#pragma once
// The ranking game: a timed game played from a fixed stake, its final coin
// total the score that goes into the ranking.

// The coins every ranking game starts with, whatever the table held before.
inline constexpr int RankingGameCoins = 100;
// The countdown starts from this number and steps down once a second, the
// first step at once, so the counter first shows one less; the game ends as
// it shows 0.
inline constexpr int RankingCountdownStart = 60;
// So the game lasts this many seconds, as the counter shows them.
inline constexpr int RankingGameSeconds = RankingCountdownStart - 1;
