#pragma once
// The reel strip shared by the three reels: seven symbols in a fixed cyclic
// order, the pictures they start with, and the pay table.

#include <QString>
#include <array>

namespace reels {

inline constexpr int StripLength = 7;

// Pictures compiled into the game (reels/pictures.def). The first seven are
// the symbols in strip order; the four spares can stand in for two symbols
// in a run.
enum Picture : int {
    NoPicture = -1,
#define TIVORAN_PICTURE(name, file) Pic##name,
#include "reels/pictures.def"
#undef TIVORAN_PICTURE
    PictureCount
};
static_assert(PicApple == 0 && PicClock == StripLength - 1, "the symbols come first, in strip order");

// The symbol's name at a strip position (taken modulo 7).
QString symbolName(int position);
// Strip position shown by element `element` of a cell array in row `row`
// (0 top, 1 middle, 2 bottom): the element for step k shows k - row.
int positionShown(int element, int row);
// Coins paid for three of the named symbol on a bet line; 0 for any other text.
int symbolPay(const QString &name);

// The pay table as shown beside the reels, top to bottom.
struct PayRow {
    int position;
    int pay;
};
inline constexpr std::array<PayRow, 7> PayTable{{
    {4, 1000}, {3, 800}, {2, 600}, {6, 400}, {5, 200}, {1, 100}, {0, 50}}};

// Which strip positions take which spare picture at start-up, for the random
// choice r in 1..4: {position, spare} twice.
struct Substitution {
    int position;
    Picture spare;
};
std::array<Substitution, 2> startSubstitutions(int r);

// The random choice of r from a uniform value in [0, 1).
int chooseR(double uniform);

} // namespace reels
