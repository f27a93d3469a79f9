#pragma once
// Colour references, the way the game keeps colours in its controls and its
// files: red + 256 * green + 65536 * blue; a value with the top bit set (a
// negative one) names one of the desktop's system colours by its index.

#include <QtGlobal>

constexpr qint32 rgbRef(int r, int g, int b) { return qint32(r | (g << 8) | (b << 16)); }
constexpr qint32 systemColourRef(int index) { return qint32(0x80000000u | quint32(index)); }

// The system colours the game uses, by index.
constexpr int SysActiveBorder = 10;
constexpr int SysInactiveCaption = 3;
constexpr int SysButtonFace = 15;
constexpr int SysWindowText = 8;
constexpr int SysWindowFrame = 6;
