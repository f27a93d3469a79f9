#pragma once
// The game's sounds (audio/sounds.def): their numbers, the files compiled
// into the program, and what each tells.

#include <QString>

enum GameSound : int {
    NoSound = 0,
#define TIVORAN_SOUND(name, file, what) Sound##name,
#include "audio/sounds.def"
#undef TIVORAN_SOUND
    SoundEnd
};
inline constexpr int SoundCount = SoundEnd - 1;

// Of sound 1..SoundCount at index id - 1: its file's base name and what it
// tells.
inline constexpr const char *SoundFiles[SoundCount] = {
#define TIVORAN_SOUND(name, file, what) #file,
#include "audio/sounds.def"
#undef TIVORAN_SOUND
};
inline constexpr const char *SoundDescriptions[SoundCount] = {
#define TIVORAN_SOUND(name, file, what) what,
#include "audio/sounds.def"
#undef TIVORAN_SOUND
};

// Where the program holds sound id (1..SoundCount) among its resources.
inline QString soundResource(int id)
{
    return QStringLiteral(":/sounds/%1.wav").arg(QLatin1String(SoundFiles[id - 1]));
}
