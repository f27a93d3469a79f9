#pragma once
// Plays embedded sound 1, 2 or 3 without waiting for it.
int PlayWave(int id);
