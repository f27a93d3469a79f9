#pragma once
// The five pay lines over the 3 x 3 grid and their evaluation.

#include <QString>
#include <array>

namespace reels {

// Cells are numbered row * 3 + reel (rows top, middle, bottom; reels A, B, C).
struct PayLine {
    int line;                 // 1..5: Line1..Line5
    int lamp;                 // 0..4: Shape3(lamp)
    std::array<int, 3> cells; // reel A, B, C
};

// In the order the lines are evaluated: top row, middle row, bottom row,
// falling diagonal, rising diagonal.
inline constexpr std::array<PayLine, 5> PayLines{{
    {3, 1, {0, 1, 2}},
    {4, 0, {3, 4, 5}},
    {5, 2, {6, 7, 8}},
    {2, 4, {0, 4, 8}},
    {1, 3, {6, 4, 2}},
}};

// The line of each bet lamp, Shape3(0)..Shape3(4), taken from the pay lines:
// lamps light in this order, each with its line: middle, top, bottom, rising
// diagonal, falling diagonal.
inline constexpr std::array<int, 5> LampLine = [] {
    std::array<int, 5> lines{};
    for (const PayLine &p : PayLines)
        lines[p.lamp] = p.line;
    return lines;
}();

// What a line pays for the three symbol names standing on it; 0 unless all
// three are the same symbol of the pay table.
int linePay(const QString &a, const QString &b, const QString &c);

} // namespace reels
