#pragma once
// What a screen reader hears for the painted reel area: the three rows on
// show once the reels stand (or that they spin), and the pay lines bet.

#include <QString>
#include <array>

namespace reels {

// The name a player hears for pay line 1..5 (Line1..Line5).
QString lineName(int line);
// The name a player hears for reel 0, 1 or 2 (A, B, C): left, middle, right.
QString reelName(int reel);

// The reel area in words. `steps` is the step each reel (A, B, C) shows,
// `running` whether it spins, `linesShown` whether Line1..Line5 are shown
// (bet). Symbols are named as the pay table names them, whatever picture
// stands for them in this run.
QString spokenReels(const std::array<int, 3> &steps, const std::array<bool, 3> &running,
                    const std::array<bool, 5> &linesShown);

} // namespace reels
