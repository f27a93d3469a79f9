#pragma once
// The sound module of the game.

// Plays embedded sound 1 (bet accepted), 2 (winning line) or 3 (reel
// stopped) without waiting for it; a new sound replaces one still playing.
// Returns non-zero when playback started. Another id, or a desktop without
// sound, plays nothing and shows nothing.
int PlayWave(int id);
