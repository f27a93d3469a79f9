#pragma once
// The game's sounds by number (audio/sounds.def).

enum Sound : int {
    NoSound = 0,
#define TIVORAN_SOUND(name, file) Sound##name,
#include "audio/sounds.def"
#undef TIVORAN_SOUND
    SoundEnd
};
inline constexpr int SoundCount = SoundEnd - 1;
