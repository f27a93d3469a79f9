#pragma once
// The rules of the name entry that depend on nothing but numbers: the grid
// of characters, the colours that carry the window's state, and the cursor
// moves.

#include <QString>
#include <QtGlobal>

#include <optional>

namespace NameEntry {

// Label1(0)..Label1(38) form the grid, 13 columns by 3 rows; Label1(39..41)
// are the three name slots.
constexpr int Columns = 13;
constexpr int Rows = 3;
constexpr int GridCells = Columns * Rows;   // 39
constexpr int LastCharacterCell = 36;       // "-"; 0..36 type a character
constexpr int BackCell = 37;                // "戻"
constexpr int EndCell = 38;                 // "終"
constexpr int FirstSlot = GridCells;        // 39
constexpr int SlotCount = 3;
constexpr int CellCount = FirstSlot + SlotCount; // 42

// Colour references (&H00BBGGRR).
constexpr qint32 CursorColour = 0x0080FFFF;      // light yellow
constexpr qint32 NormalColour = 0x00FFC0C0;      // light blue, also the window
constexpr qint32 CurrentSlotColour = 0x00C0FFC0; // light green

// Virtual-key codes of the keys the window answers.
constexpr int VkReturn = 13;
constexpr int VkLeft = 37;
constexpr int VkUp = 38;
constexpr int VkRight = 39;
constexpr int VkDown = 40;

// Interval of the underline blink timers, in milliseconds.
constexpr int BlinkInterval = 500;

// Caption of grid cell 0..38: "A".."Z", "1".."9", ".", "-", "戻", "終".
QString gridCaption(int cell);

// The cell the cursor moves to from `cell` for an arrow key, or `cell`
// itself when the move is refused (edge of the grid: there is no
// wrap-around) or the key is no arrow key.
int moveCursor(int cell, int virtualKey);

// What Return does with the cursor on "戻" or on a character (cells 0..37;
// "終" stores the name instead). Slots are 0..2; -1 stands for none, when all
// three are filled.
struct ReturnRule {
    bool onBack;  // the cursor is on "戻"; else on a character
    int current;  // the slot being filled when Return is pressed
    int next;     // the slot being filled afterwards
};
// The rules, tried top to bottom; at most one applies. "戻" empties the slot
// it steps back to; a character goes into the current slot. The slot left
// stops blinking (its flag becomes true), the slot reached blinks anew (its
// flag becomes false); after the third character the cursor jumps to "終".
inline constexpr ReturnRule ReturnRules[] = {
    {true, 1, 0},   // "戻" from slot 2: slot 1 emptied, current again
    {true, 2, 1},   // "戻" from slot 3: slot 2 emptied, current again
    {true, -1, 2},  // "戻" with all three filled: slot 3 emptied, current
    {false, 0, 1},  // a character into slot 1
    {false, 1, 2},  // a character into slot 2
    {false, 2, -1}, // a character into slot 3; no slot is current after it
};
// The rule for Return on "戻" (onBack) or a character with `current` the
// slot being filled; nothing for "戻" with slot 1 current and for a
// character with all three slots filled.
std::optional<ReturnRule> returnRule(bool onBack, int current);

// The virtual-key code of a Qt key: the arrows and Return/Enter as the
// desktop numbers them, letters and digits as their upper-case character,
// everything else 0 (a key the name entry ignores).
int virtualKeyFromQt(int qtKey);

} // namespace NameEntry
