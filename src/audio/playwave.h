#pragma once
// The sound module of the game.

#include "audio/sounds.h"

// Plays an embedded sound of audio/sounds.h (1 bet accepted, 2 winning line,
// 3 reel stopped) without waiting for it; a new sound replaces one still
// playing. Returns non-zero when playback started. Another id, or a desktop
// without sound, plays nothing and shows nothing.
int PlayWave(int id);
