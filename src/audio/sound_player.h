#pragma once
// The player behind PlayWave. The one that makes the sounds heard lives in a
// module of its own beside the program (tivoran_sound), loaded when the
// sounds are first wanted, so the table appears without waiting for the
// sound system and its libraries.

#include "audio/sounds.h"

#include <QString>

class SoundPlayer {
public:
    static constexpr int kSoundCount = SoundCount;

    virtual ~SoundPlayer() = default;

    // Starts sound 1, 2 or 3 and returns at once. A sound still playing is
    // stopped first, so the new one replaces it (the same sound starts
    // again from its beginning). Returns non-zero when playback was started,
    // 0 when the sound cannot be played (no audio device, damaged data).
    // Any other id plays nothing, leaves a playing sound alone and returns 0.
    virtual int play(int id) = 0;

    // True while sound id plays or is about to (started before its data had
    // finished loading). False for an unknown id.
    virtual bool isPlaying(int id) const = 0;

    // True while any of the sounds is still being read.
    virtual bool isLoading() const = 0;
};

// The entry point the sound module exports.
#define TIVORAN_SOUND_ENTRY "tivoranCreateSoundPlayer"
using CreateSoundPlayerFn = SoundPlayer *(*)();

// Loads the sound module from directory dir and returns its entry point,
// null when the module is missing or cannot be loaded. Safe to call on any
// thread; the module stays loaded for the life of the program.
CreateSoundPlayerFn loadSoundModule(const QString &dir);
// Loads the game's sound module from where the game keeps it: beside the
// program (the build tree, a portable copy), else in the installed tree's
// lib/tivoran, found relative to programDir.
CreateSoundPlayerFn loadGameSoundModule(const QString &programDir);
