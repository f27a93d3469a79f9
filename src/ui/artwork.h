#pragma once
// The sizes of the game's pictures, icons and cursor, in pixels, each
// written once. The code reads them from here; so do the build (the files
// it compiles into the game and installs) and the generator of the files,
// tools/make_pictures.cpp. Keep each list on one line, as the build reads it.

#include <array>

// Each picture of reels/pictures.def is drawn as a square master,
// resources/pictures/<file>.png, at twice the size of a reel cell...
inline constexpr int PictureMasterSize = 96;
// ...and comes ready made at the sizes the table shows at 100 %,
// <file>_<size>.png: a pay-table picture and a reel cell.
inline constexpr std::array<int, 2> ReadyMadePictureSizes{28, 48};

// The program icon, resources/icons/tivoran_<size>.png, drawn for each size:
// these are compiled into the game for its windows...
inline constexpr std::array<int, 4> WindowIconSizes{16, 32, 64, 128};
// ...and these besides are installed for the desktop's icon theme only.
inline constexpr std::array<int, 2> ThemeOnlyIconSizes{48, 256};

// The pointing hand over the version window's home-page address,
// resources/icons/hand_<size>.png, drawn on a grid of HandCursorGrid units
// at every size. It points with the tip of its index finger, at
// (HandCursorHotspotX, HandCursorHotspotY) on that grid.
inline constexpr std::array<int, 2> HandCursorSizes{32, 64};
inline constexpr int HandCursorGrid = 32;
inline constexpr int HandCursorHotspotX = 12;
inline constexpr int HandCursorHotspotY = 1;
