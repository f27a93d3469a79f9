#pragma once
// The rules of the name entry that depend on nothing but numbers: the grid
// of characters, the colours that carry the window's state, and the cursor
// moves.

#include <QString>
#include <QtGlobal>

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

// The virtual-key code of a Qt key: the arrows and Return/Enter as the
// desktop numbers them, letters and digits as their upper-case character,
// everything else 0 (a key the name entry ignores).
int virtualKeyFromQt(int qtKey);

} // namespace NameEntry
